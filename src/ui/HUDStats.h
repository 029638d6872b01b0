#pragma once
#include "object/ObjectScreen.h"

class Actor;
class Sprite;

// Health and mana bars with their potion icons, following an actor's stats.
class HUDStats : public ObjectScreen {
public:
    static HUDStats* addHUDStatsChild(Object* parent, Actor* target, glm::vec2 position);
    void init() override;
    void update(float dt) override;

    void setTarget(Actor* target) { target_ = target; }
    Sprite* getHealthBar() const { return health_bar_; }
    Sprite* getManaBar() const { return mana_bar_; }

private:
    void updateHealthBar();
    void updateManaBar();
    static void showShare(Sprite* bar, float value, float maximum);

    Actor* target_ = nullptr; // a sibling in the scene
    // All six are children: owned through the children list.
    Sprite* health_bar_ = nullptr;
    Sprite* health_bar_bg_ = nullptr;
    Sprite* health_icon_ = nullptr;
    Sprite* mana_bar_ = nullptr;
    Sprite* mana_bar_bg_ = nullptr;
    Sprite* mana_icon_ = nullptr;
};
