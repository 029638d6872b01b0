#pragma once
#include "actors/Actor.h"

class AffiliateBar;
class Player;
class SpriteAnim;

// A hostile ghost that flies straight at the player and hurts it on contact.
class Enemy : public Actor {
public:
    enum class State { NORMAL = 0, HURT = 1, DIE = 2 };

    static Enemy* addEnemyChild(Object* parent, glm::vec2 position, Player* target);
    void init() override;
    void update(float dt) override;

    void aimTarget(Player* target);
    void attack();
    void checkState();
    void changeState(State state);
    void remove();

    void setTarget(Player* target) { target_ = target; }
    State getState() const { return current_state_; }
    AffiliateBar* getHealthBar() const { return health_bar_; }

private:
    State current_state_ = State::NORMAL;
    Player* target_ = nullptr; // lives in the same scene
    // Children, owned through the children list.
    SpriteAnim* anim_normal_ = nullptr;
    SpriteAnim* anim_hurt_ = nullptr;
    SpriteAnim* anim_die_ = nullptr;
    SpriteAnim* current_anim_ = nullptr;
    int score_ = 10;
};
