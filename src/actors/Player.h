#pragma once
#include "actors/Actor.h"

class Effect;
class SpriteAnim;
class Timer;
class WeaponThunder;

// The ghost the user steers: W A S D to move, a left click to cast, the camera following.
class Player : public Actor {
public:
    ~Player() override;
    void init() override;
    bool handleEvents(SDL_Event& event) override;
    void update(float dt) override;
    void render() override;
    void clean() override;
    void takeDamage(float damage) override;
    long countOwned() const override;

    void keyboardControl();
    void checkState();
    void changeState(bool moving);
    void syncCamera();
    void checkIsDead();

    bool getIsMoving() const { return is_moving_; }
    SpriteAnim* getSpriteIdle() const { return sprite_idle_; }
    SpriteAnim* getSpriteMove() const { return sprite_move_; }
    WeaponThunder* getWeapon() const { return weapon_thunder_; }
    Effect* getDeathEffect() const { return effect_; }

private:
    void dropDeathEffect();

    // Children, owned through the children list.
    SpriteAnim* sprite_idle_ = nullptr;
    SpriteAnim* sprite_move_ = nullptr;
    // Ours until handed to the scene at death; belongs to no tree before that.
    Effect* effect_ = nullptr;
    WeaponThunder* weapon_thunder_ = nullptr;
    bool is_moving_ = false;
    Timer* flash_timer_ = nullptr;
    bool is_effect_handed_ = false;
};
