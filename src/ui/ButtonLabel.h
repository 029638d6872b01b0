#pragma once
#include <SDL3/SDL.h>
#include <SDL3_ttf/SDL_ttf.h>

#include <string>

enum class ButtonLook { NORMAL, HOVER, PRESSED };

// A button's words, drawn onto a copy of its plate (an RGBA32 surface) in the game's pixel font with a
// drop shadow, centred on their ink and sunk a pixel when pressed. Drawn at run time so that every
// language's words sit on the same generated plates.
void drawButtonLabel(SDL_Surface* plate, TTF_Font* font, const std::string& words, ButtonLook look);
