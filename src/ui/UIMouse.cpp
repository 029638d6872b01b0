#include "ui/UIMouse.h"

#include "components/Sprite.h"
#include "core/Game.h"

UIMouse* UIMouse::addUIMouseChild(Object* parent, const std::string& path1, const std::string& path2,
                                  float scale, Anchor anchor) {
    auto* mouse = new UIMouse;
    mouse->init();
    mouse->sprite1_ = Sprite::addSpriteChild(mouse, path1, scale, anchor);
    mouse->sprite2_ = Sprite::addSpriteChild(mouse, path2, scale, anchor);
    if (parent) parent->addChild(mouse);
    return mouse;
}

void UIMouse::update(float dt) {
    timer_ += dt;
    if (timer_ < 0.3f) {
        sprite1_->setActive(true);
        sprite2_->setActive(false);
    } else if (timer_ < 0.6f) {
        sprite1_->setActive(false);
        sprite2_->setActive(true);
    } else {
        timer_ = 0.0f; // the reset frame keeps the images as they were
    }
    setRenderPosition(game_.getMousePosition());
}
