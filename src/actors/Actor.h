#pragma once
#include "object/ObjectWorld.h"

class AffiliateBar;
class Stats;

// Something in the world that moves under its own velocity and can be hurt.
class Actor : public ObjectWorld {
public:
    void update(float dt) override;
    void takeDamage(float damage) override;

    // Applies the velocity for dt and keeps the actor inside the world.
    void move(float dt);
    void updateHealthBar();
    bool isAlive() const;
    Stats* getStats() const { return stats_; }
    glm::vec2 getVelocity() const { return velocity_; }
    void setVelocity(glm::vec2 velocity) { velocity_ = velocity; }

protected:
    glm::vec2 velocity_ = glm::vec2(0.0f);
    float max_speed_ = 100.0f;
    Stats* stats_ = nullptr;             // a child: owned through the children list
    AffiliateBar* health_bar_ = nullptr; // a child of the body, when there is one
};
