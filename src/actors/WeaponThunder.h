#pragma once
#include "actors/Weapon.h"

class HUDSkill;

// The player's thunder strike: a left click casts it at the cursor.
class WeaponThunder : public Weapon {
public:
    static WeaponThunder* addWeaponThunderChild(Actor* parent, float cool_down, float mana_cost);
    void init() override;
    bool handleEvents(SDL_Event& event) override;
    void update(float dt) override;
    // Casts at aim on the screen if the cool-down and the mana allow; a replay's strikes come here too.
    bool strike(glm::vec2 aim);

    HUDSkill* getHudSkill() const { return hud_skill_; }

private:
    HUDSkill* hud_skill_ = nullptr; // a screen object of the scene, owned there
};
