#include "ui/HUDSkill.h"

#include "components/Sprite.h"
#include "core/Game.h"

#include <algorithm>

HUDSkill* HUDSkill::addHUDSkillChild(Object* parent, const std::string& file_path, glm::vec2 position,
                                     float scale, Anchor anchor) {
    auto* skill = new HUDSkill;
    skill->init();
    skill->icon_ = Sprite::addSpriteChild(skill, file_path, scale, anchor);
    skill->setRenderPosition(position);
    if (parent) parent->addChild(skill);
    return skill;
}

void HUDSkill::render() {
    const Texture texture = icon_->getTexture();
    // The texture is shared through the asset store: darken it only for this one draw.
    SDL_SetTextureColorModFloat(texture.texture, 0.3f, 0.3f, 0.3f);
    game_.renderTexture(texture, render_position_ + icon_->getOffset(), icon_->getSize(), glm::vec2(1.0f));
    SDL_SetTextureColorModFloat(texture.texture, 1.0f, 1.0f, 1.0f);
    Object::render();
}

void HUDSkill::setPercent(float percent) {
    percent_ = std::min(std::max(percent, 0.0f), 1.0f);
    if (icon_) icon_->setPercent(glm::vec2(1.0f, percent_));
}
