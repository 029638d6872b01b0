#include "ui/MenuPanel.h"

#include "assets/AssetStore.h"
#include "core/Game.h"

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

TTF_Font* changedTextFont(const char* font_path, int& drawn_size) {
    Game& game = Game::getInstance();
    const int size = game.textSize(16);
    if (size == drawn_size) return nullptr;
    drawn_size = size;
    return game.getAssetStore()->getFont(font_path, size);
}

void drawCentred(TTF_Text* text, const SDL_FRect& panel, float y) {
    int w = 0;
    int h = 0;
    TTF_GetTextSize(text, &w, &h);
    TTF_DrawRendererText(text, panel.x + (panel.w - static_cast<float>(w)) / 2.0f, y);
}

std::optional<int> rowAt(const SDL_FRect& panel, float top, float step, int count, glm::vec2 point) {
    if (point.x < panel.x || point.x > panel.x + panel.w || point.y < top - 6.0f) return std::nullopt;
    const int row = static_cast<int>((point.y - top + 6.0f) / step);
    return row < count ? std::optional<int>(row) : std::nullopt;
}

std::optional<int> twoRowsAction(PadAction action, int& lit, int back_row) {
    switch (action) {
    case PadAction::UP:
    case PadAction::DOWN:
    case PadAction::LEFT:
    case PadAction::RIGHT:
        lit = 1 - lit;
        return std::nullopt;
    case PadAction::PRIMARY:
        return lit;
    case PadAction::BACK:
        return back_row;
    default:
        return std::nullopt;
    }
}
