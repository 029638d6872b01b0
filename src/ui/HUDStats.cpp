#include "ui/HUDStats.h"

#include "actors/Actor.h"
#include "components/Sprite.h"
#include "components/Stats.h"

namespace {

Sprite* addPiece(ObjectScreen* parent, const char* file_path, float scale, glm::vec2 shift) {
    Sprite* sprite = Sprite::addSpriteChild(parent, file_path, scale, Anchor::CENTER_LEFT);
    sprite->setOffset(sprite->getOffset() + shift);
    return sprite;
}

} // namespace

HUDStats* HUDStats::addHUDStatsChild(Object* parent, Actor* target, glm::vec2 position) {
    auto* hud = new HUDStats;
    hud->init();
    hud->setRenderPosition(position);
    hud->setTarget(target);
    if (parent) parent->addChild(hud);
    return hud;
}

void HUDStats::init() {
    ObjectScreen::init();
    // Added in drawing order: each bar over its background, each potion over its bar's end.
    health_bar_bg_ = addPiece(this, "assets/UI/bar_bg.png", 3.0f, {30.0f, 0.0f});
    health_bar_ = addPiece(this, "assets/UI/bar_red.png", 3.0f, {30.0f, 0.0f});
    health_icon_ = addPiece(this, "assets/UI/Red Potion.png", 0.5f, {0.0f, 0.0f});
    mana_bar_bg_ = addPiece(this, "assets/UI/bar_bg.png", 3.0f, {300.0f, 0.0f});
    mana_bar_ = addPiece(this, "assets/UI/bar_blue.png", 3.0f, {300.0f, 0.0f});
    mana_icon_ = addPiece(this, "assets/UI/Blue Potion.png", 0.5f, {270.0f, 0.0f});
}

void HUDStats::update(float dt) {
    Object::update(dt);
    updateHealthBar();
    updateManaBar();
}

void HUDStats::updateHealthBar() {
    if (target_ && target_->getStats())
        showShare(health_bar_, target_->getStats()->getHealth(), target_->getStats()->getMaxHealth());
}

void HUDStats::updateManaBar() {
    if (target_ && target_->getStats())
        showShare(mana_bar_, target_->getStats()->getMana(), target_->getStats()->getMaxMana());
}

// A bar shows the left share of its picture: it empties from the right.
void HUDStats::showShare(Sprite* bar, float value, float maximum) {
    if (bar) bar->setPercent({value / maximum, 1.0f});
}
