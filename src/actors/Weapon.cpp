#include "actors/Weapon.h"

#include "actors/Actor.h"
#include "components/Spell.h"
#include "components/Stats.h"
#include "core/Game.h"
#include "object/Scene.h"

void Weapon::update(float dt) {
    Object::update(dt);
    cool_down_timer_ += dt;
}

bool Weapon::canAttack() const {
    if (cool_down_timer_ < cool_down_) return false;
    return parent_->getStats()->canUseMana(mana_cost_);
}

void Weapon::attack(glm::vec2 position, Spell* spell) {
    if (!spell) return;
    parent_->getStats()->useMana(mana_cost_);
    cool_down_timer_ = 0.0f;
    spell->setPosition(position);
    game_.getCurrentScene()->safeAddChild(spell);
}
