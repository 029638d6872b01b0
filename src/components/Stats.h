#pragma once
#include "object/Object.h"

class Actor;

// Health, mana and contact damage of an actor, with mana regeneration and invincibility after a hit.
class Stats : public Object {
public:
    static Stats* addStatsChild(Actor* parent, float max_health, float max_mana, float damage,
                                float mana_regen);
    void update(float dt) override;

    [[nodiscard]] bool canUseMana(float cost) const { return mana_ >= cost; }
    void useMana(float cost);
    void regenMana(float dt);
    // Ignored while invincible; a hit below zero kills, one that leaves exactly zero does not.
    void takeDamage(float damage);

    float getHealth() const { return health_; }
    float getMaxHealth() const { return max_health_; }
    float getMana() const { return mana_; }
    float getMaxMana() const { return max_mana_; }
    float getDamage() const { return damage_; }
    bool getIsAlive() const { return is_alive_; }
    bool getInvincible() const { return is_invincible_; }
    // For tests and the soak run, which need an actor that cannot be hurt.
    void setInvincibleTime(float seconds) { invincible_time_ = seconds; }

private:
    Actor* parent_ = nullptr; // owns us through its children list
    float health_ = 100.0f;
    float max_health_ = 100.0f;
    float mana_ = 100.0f;
    float max_mana_ = 100.0f;
    float damage_ = 40.0f;
    float mana_regen_ = 10.0f;
    float invincible_time_ = 1.5f;
    float invincible_timer_ = 0.0f;
    bool is_alive_ = true;
    bool is_invincible_ = false;
};
