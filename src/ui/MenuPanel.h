#pragma once
#include <SDL3/SDL.h>
#include <SDL3_ttf/SDL_ttf.h>

#include "shell/Gamepad.h"

#include <glm/glm.hpp>

#include <optional>
#include <string>

// What the game's menu panels (Options, the board's question) share: a dark panel with a light border,
// the chosen row's bar on it.
void drawMenuPanel(SDL_Renderer* renderer, const SDL_FRect& panel, const SDL_FRect& chosen);
// The border's colour, for what a panel draws in it besides.
constexpr SDL_Color kMenuBorder = {150, 128, 220, 255};
// Gives a text new words only when they differ: a TTF_Text lays itself out again on every change.
void setTextWords(TTF_Text* text, const std::string& words);
// The small words' font when the player's text size is no longer drawn_size (which then follows it);
// null while it still is.
[[nodiscard]] TTF_Font* changedTextFont(const char* font_path, int& drawn_size);
// Draws the text centred across the panel, its top at y.
void drawCentred(TTF_Text* text, const SDL_FRect& panel, float y);
// Which of count rows, step apart from top, the point is on within the panel; a bar starts 6 above its row.
[[nodiscard]] std::optional<int> rowAt(const SDL_FRect& panel, float top, float step, int count, glm::vec2 point);
// Two rows, one lit, played by a pad's (or the keys') action: any direction lights the other row, the
// primary action chooses the lit one and back chooses back_row. The row chosen, if any.
[[nodiscard]] std::optional<int> twoRowsAction(PadAction action, int& lit, int back_row);
