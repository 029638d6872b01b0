#include "actors/Actor.h"

#include "components/AffiliateBar.h"
#include "components/Stats.h"
#include "core/Game.h"
#include "object/Scene.h"

void Actor::update(float dt) {
    ObjectWorld::update(dt);
    updateHealthBar();
}

void Actor::takeDamage(float damage) {
    if (stats_) stats_->takeDamage(damage);
}

void Actor::move(float dt) {
    setPosition(position_ + velocity_ * dt);
    // Only the world position is clamped; the render position catches up at the next update.
    position_ = glm::clamp(position_, glm::vec2(0.0f), game_.getCurrentScene()->getWorldSize());
}

void Actor::updateHealthBar() {
    if (!stats_ || !health_bar_) return;
    health_bar_->setPercent(stats_->getHealth() / stats_->getMaxHealth());
}

bool Actor::isAlive() const {
    return !stats_ || stats_->getIsAlive();
}
