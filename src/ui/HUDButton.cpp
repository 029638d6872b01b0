#include "ui/HUDButton.h"

#include "assets/AssetStore.h"
#include "components/Sprite.h"
#include "core/Game.h"
#include "ui/ButtonLabel.h"

namespace {
constexpr const char* kFont = "assets/font/VonwaonBitmap-16px.ttf";
} // namespace

HUDButton* HUDButton::addHUDButtonChild(Object* parent, glm::vec2 position, const std::string& normal_path,
                                        const std::string& hover_path, const std::string& press_path,
                                        float scale, Anchor anchor) {
    auto* button = new HUDButton;
    button->init();
    button->setRenderPosition(position);
    button->sprite_normal_ = Sprite::addSpriteChild(button, normal_path, scale, anchor);
    button->sprite_hover_ = Sprite::addSpriteChild(button, hover_path, scale, anchor);
    button->sprite_press_ = Sprite::addSpriteChild(button, press_path, scale, anchor);
    button->plate_paths_ = {normal_path, hover_path, press_path};
    button->scale_ = scale;
    button->sprite_hover_->setActive(false);
    button->sprite_press_->setActive(false);
    if (parent) parent->addChild(button);
    return button;
}

bool HUDButton::handleEvents(SDL_Event& event) {
    // Where the click is now, not where the last frame left the cursor: a finger's click lands where
    // no pointer hovered before it, and a press may come with the move onto the button.
    const bool mouse = event.type == SDL_EVENT_MOUSE_BUTTON_DOWN || event.type == SDL_EVENT_MOUSE_BUTTON_UP;
    if (!mouse || event.button.button != SDL_BUTTON_LEFT) return false;
    is_mouse_over_ = isUnderCursor();
    if (event.type == SDL_EVENT_MOUSE_BUTTON_DOWN) {
        if (!is_mouse_over_) return false;
        is_press_ = true;
        game_.playSound("assets/sound/UI_button08.wav");
        return true;
    }
    // A release completes a click only when the press was ours: the rest of a click that closed a
    // panel above must not act here.
    const bool pressed_here = is_press_;
    is_press_ = false;
    if (!is_mouse_over_ || !pressed_here) return false;
    is_trigger_ = true;
    return true;
}

void HUDButton::update(float /*dt*/) {
    checkHover();
    checkState();
}

void HUDButton::render() {
    if (label_language_.changed() && label_) drawLabel();
    ObjectScreen::render();
}

void HUDButton::setLabel(Message label) {
    label_ = label;
    drawLabel();
}

bool HUDButton::isTrigger() {
    if (!is_trigger_) return false;
    is_trigger_ = false;
    is_press_ = false;
    is_hover_ = false;
    is_mouse_over_ = false;
    return true;
}

void HUDButton::press() {
    game_.playSound("assets/sound/UI_button08.wav");
    is_trigger_ = true;
}

void HUDButton::setScale(float scale) {
    sprite_normal_->setScale(scale);
    sprite_hover_->setScale(scale);
    sprite_press_->setScale(scale);
    scale_ *= scale;
}

void HUDButton::placeCentre(glm::vec2 centre, float scale) {
    setScale(scale / scale_); // a sprite's scale multiplies what it has
    setRenderPosition(centre - sprite_normal_->getOffset() - sprite_normal_->getSize() / 2.0f);
}

glm::vec2 HUDButton::getCentre() const {
    return render_position_ + sprite_normal_->getOffset() + sprite_normal_->getSize() / 2.0f;
}

bool HUDButton::isUnderCursor() const {
    const glm::vec2 top_left = render_position_ + sprite_normal_->getOffset();
    return game_.isMouseInRect(top_left, top_left + sprite_normal_->getSize());
}

void HUDButton::checkHover() {
    is_mouse_over_ = isUnderCursor();
    // The pad's highlight looks and sounds like hover, but only the mouse can click.
    const bool hovered = is_mouse_over_ || is_highlight_;
    if (hovered == is_hover_) return;
    is_hover_ = hovered;
    if (is_hover_ && !is_press_) game_.playSound("assets/sound/UI_button12.wav");
}

void HUDButton::checkState() {
    sprite_normal_->setActive(!is_press_ && !is_hover_);
    sprite_hover_->setActive(!is_press_ && is_hover_);
    sprite_press_->setActive(is_press_);
}

void HUDButton::drawLabel() {
    AssetStore* store = game_.getAssetStore();
    TTF_Font* font = store->getFont(kFont, 16);
    const std::string words = tr(*label_);
    const std::array<Sprite*, 3> sprites = {sprite_normal_, sprite_hover_, sprite_press_};
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        const auto look = static_cast<ButtonLook>(i);
        SDL_Texture* labelled = store->getDrawnOver(
            plate_paths_[i], words, [&](SDL_Surface* plate) { drawButtonLabel(plate, font, words, look); });
        if (labelled) sprites[i]->setImage(labelled);
    }
}
