#pragma once
#include "object/Object.h"

class Player;

// Every 3 seconds of game time, while the player lives, summons a wave of enemies on screen.
class Spawner : public Object {
public:
    void update(float dt) override;

    void setTarget(Player* target) { target_ = target; }
    float getTimer() const { return timer_; }

private:
    void spawnWave();

    int num_ = 20;
    float timer_ = 0.0f;
    float interval_ = 3.0f;
    Player* target_ = nullptr; // lives in the same scene
};
