#include "ui/MenuPanel.h"

void drawMenuPanel(SDL_Renderer* renderer, const SDL_FRect& panel, const SDL_FRect& chosen) {
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, 12, 10, 30, 235);
    SDL_RenderFillRect(renderer, &panel);
    SDL_SetRenderDrawColor(renderer, kMenuBorder.r, kMenuBorder.g, kMenuBorder.b, kMenuBorder.a);
    SDL_RenderRect(renderer, &panel);
    SDL_SetRenderDrawColor(renderer, 98, 62, 150, 255);
    SDL_RenderFillRect(renderer, &chosen);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
}

void setTextWords(TTF_Text* text, const std::string& words) {
    if (!text || (text->text && words == text->text)) return;
    TTF_SetTextString(text, words.c_str(), words.size());
}
