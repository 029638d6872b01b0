#pragma once
#include "object/Object.h"

#include <glm/glm.hpp>

class Actor;
class Spell;

// Decides when its owner may cast: a cool-down and a mana cost paid from the owner's stats.
class Weapon : public Object {
public:
    void update(float dt) override;

    [[nodiscard]] bool canAttack() const;
    // Pays, restarts the cool-down and hands the spell to the scene; callers check canAttack first.
    void attack(glm::vec2 position, Spell* spell);

    void setParent(Actor* parent) { parent_ = parent; }
    Actor* getParent() const { return parent_; }
    void setCoolDown(float cool_down) { cool_down_ = cool_down; }
    float getCoolDown() const { return cool_down_; }
    void setManaCost(float mana_cost) { mana_cost_ = mana_cost; }
    float getManaCost() const { return mana_cost_; }
    float getCoolDownTimer() const { return cool_down_timer_; }

protected:
    Actor* parent_ = nullptr; // owns us through its children list
    float cool_down_ = 1.0f;
    float mana_cost_ = 0.0f;
    float cool_down_timer_ = 0.0f;
};
