#include "components/Sprite.h"

#include "core/Game.h"
#include "object/ObjectScreen.h"

Sprite* Sprite::addSpriteChild(ObjectScreen* parent, const std::string& file_path, float scale,
                               Anchor anchor) {
    auto* sprite = new Sprite;
    attach(sprite, parent, file_path, scale, anchor);
    return sprite;
}

void Sprite::attach(Sprite* sprite, ObjectScreen* parent, const std::string& file_path, float scale,
                    Anchor anchor) {
    sprite->init();
    sprite->setTexture(Texture(file_path));
    sprite->setScale(scale);
    sprite->setParent(parent);
    sprite->setOffsetByAnchor(anchor);
    parent->addChild(sprite);
}

void Sprite::render() {
    if (!texture_.texture || !parent_ || is_finish_) return;
    game_.renderTexture(texture_, getScreenPosition(), size_, percent_);
}

void Sprite::setTexture(const Texture& texture) {
    texture_ = texture;
    size_ = glm::vec2(texture.src_rect.w, texture.src_rect.h);
}
