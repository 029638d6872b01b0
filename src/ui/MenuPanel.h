#pragma once
#include <SDL3/SDL.h>
#include <SDL3_ttf/SDL_ttf.h>

#include <string>

// What the game's menu panels (Options, the board's question) share: a dark panel with a light border,
// the chosen row's bar on it.
void drawMenuPanel(SDL_Renderer* renderer, const SDL_FRect& panel, const SDL_FRect& chosen);
// The border's colour, for what a panel draws in it besides.
constexpr SDL_Color kMenuBorder = {150, 128, 220, 255};
// Gives a text new words only when they differ: a TTF_Text lays itself out again on every change.
void setTextWords(TTF_Text* text, const std::string& words);
