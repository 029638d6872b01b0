#include "ui/PausePanel.h"

#include "core/Game.h"
#include "ui/HUDText.h"

namespace {
constexpr const char* kFont = "assets/font/VonwaonBitmap-16px.ttf";
constexpr const char* kPanel = "assets/UI/Textfield_01.png";
constexpr float kHeadingY = 130.0f;
constexpr float kLinesY = 215.0f;
} // namespace

PausePanel* PausePanel::addPausePanelChild(Object* parent) {
    auto* panel = new PausePanel;
    panel->init();
    const float centre = panel->game_.getScreenSize().x / 2.0f;
    panel->heading_ = HUDText::addHUDTextChild(panel, "", {centre, kHeadingY}, {100.0f, 60.0f}, kFont, 48, kPanel,
                                               Anchor::CENTER);
    panel->lines_ = HUDText::addHUDTextChild(panel, "", {centre, kLinesY}, {100.0f, 40.0f}, kFont, 24, kPanel,
                                             Anchor::CENTER);
    panel->setActive(false);
    if (parent) parent->addChild(panel);
    return panel;
}

void PausePanel::render() {
    SDL_Renderer* renderer = game_.getRenderer();
    const glm::vec2 screen = game_.getScreenSize();
    const SDL_FRect all = {0.0f, 0.0f, screen.x, screen.y};
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 140);
    SDL_RenderFillRect(renderer, &all);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    ObjectScreen::render();
}

void PausePanel::show(const std::string& heading, const std::string& lines) {
    setActive(true);
    if (heading == heading_words_ && lines == lines_words_) return;
    heading_words_ = heading;
    lines_words_ = lines;
    heading_->setText(heading);
    heading_->setBgSizeByText(40.0f);
    lines_->setText(lines);
    lines_->setBgSizeByText(32.0f);
    lines_->setActive(!lines.empty());
}
