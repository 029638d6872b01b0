#include "actors/WeaponThunder.h"

#include "actors/Actor.h"
#include "components/Spell.h"
#include "components/SpriteAnim.h"
#include "core/Game.h"
#include "object/Scene.h"
#include "shell/Gamepad.h"
#include "ui/HUDSkill.h"

WeaponThunder* WeaponThunder::addWeaponThunderChild(Actor* parent, float cool_down, float mana_cost) {
    auto* weapon = new WeaponThunder;
    weapon->init();
    weapon->setParent(parent);
    weapon->setCoolDown(cool_down);
    weapon->setManaCost(mana_cost);
    parent->addChild(weapon);
    return weapon;
}

void WeaponThunder::init() {
    Weapon::init();
    const glm::vec2 position(game_.getScreenSize().x - 300.0f, 30.0f);
    hud_skill_ = HUDSkill::addHUDSkillChild(game_.getCurrentScene(), "assets/UI/Electric-Icon.png", position,
                                            0.14f, Anchor::CENTER);
}

bool WeaponThunder::handleEvents(SDL_Event& event) {
    // A click, the strike key, the pad's south button or right trigger, or a finger's tap: at the cursor,
    // wherever the mouse, the cursor keys or the right stick put it. A finger's click is for the menus'
    // buttons: in play a finger strikes through the pad's action.
    const bool from_finger =
        event.type == SDL_EVENT_MOUSE_BUTTON_DOWN && event.button.which == SDL_TOUCH_MOUSEID;
    const bool key = !from_finger && game_.getBindings().isPressed(Action::STRIKE, event);
    if (!key && padActionOf(event) != PadAction::PRIMARY) return false;
    // Now, at the cursor: the frame's input carries it for the replay, which strikes in its place.
    game_.noteStrike(game_.getMousePosition());
    return strike(game_.getMousePosition());
}

bool WeaponThunder::strike(glm::vec2 aim) {
    if (!canAttack()) return false;
    game_.playSound("assets/sound/silly-ghost-sound-242342.mp3");
    const glm::vec2 target = aim + game_.getCurrentScene()->getCameraPosition();
    Spell* spell = Spell::addSpellChild(nullptr, "assets/effect/Thunderstrike w blur.png", target, 40.0f,
                                        3.0f, Anchor::CENTER);
    if (game_.reducesFlashes()) spell->getSprite()->setAlpha(Game::SOFT_FLASH);
    attack(target, spell);
    return true;
}

void WeaponThunder::update(float dt) {
    Weapon::update(dt);
    if (hud_skill_) hud_skill_->setPercent(cool_down_timer_ / cool_down_);
}
