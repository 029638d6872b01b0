#include "actors/Player.h"

#include "actors/WeaponThunder.h"
#include "components/Collider.h"
#include "components/Effect.h"
#include "components/SpriteAnim.h"
#include "components/Stats.h"
#include "components/Timer.h"
#include "core/Game.h"
#include "object/Scene.h"

Player::~Player() {
    dropDeathEffect();
}

void Player::init() {
    Actor::init();
    flash_timer_ = Timer::addTimerChild(this, 0.4f);
    flash_timer_->start();
    max_speed_ = 500.0f;
    sprite_idle_ = SpriteAnim::addSpriteAnimChild(this, "assets/sprite/ghost-idle.png", 2.0f, Anchor::CENTER);
    sprite_move_ = SpriteAnim::addSpriteAnimChild(this, "assets/sprite/ghost-move.png", 2.0f, Anchor::CENTER);
    sprite_move_->setActive(false);
    collider_ = Collider::addColliderChild(this, sprite_idle_->getSize() / 2.0f, ColliderShape::CIRCLE,
                                           Anchor::CENTER);
    stats_ = Stats::addStatsChild(this, 100.0f, 100.0f, 40.0f, 10.0f);
    effect_ = Effect::addEffectChild(nullptr, "assets/effect/1764.png", glm::vec2(0.0f), 2.0f, nullptr);
    if (game_.reducesFlashes()) effect_->getSprite()->setAlpha(Game::SOFT_FLASH);
    weapon_thunder_ = WeaponThunder::addWeaponThunderChild(this, 2.0f, 40.0f);
}

bool Player::handleEvents(SDL_Event& event) {
    return Actor::handleEvents(event);
}

void Player::update(float dt) {
    Actor::update(dt);
    keyboardControl();
    velocity_ *= 0.9f; // per frame, whatever dt is
    checkState();
    move(dt);
    syncCamera();
    checkIsDead();
}

void Player::render() {
    // Blinks while invincible: hidden for the first half of every flash period.
    if (stats_->getInvincible() && flash_timer_->getProgress() < 0.5f) return;
    Actor::render();
}

void Player::clean() {
    Actor::clean();
    dropDeathEffect();
}

void Player::takeDamage(float damage) {
    if (!stats_ || stats_->getInvincible()) return;
    Actor::takeDamage(damage);
    game_.playSound("assets/sound/hit-flesh-02-266309.mp3");
}

long Player::countOwned() const {
    const bool holds_effect = effect_ && !is_effect_handed_;
    return Actor::countOwned() + (holds_effect ? effect_->countOwned() : 0);
}

void Player::keyboardControl() {
    const FrameInput& input = game_.getFrameInput();
    const bool up = input.up;
    const bool down = input.down;
    const bool left = input.left;
    const bool right = input.right;
    // In this order, so that down beats up and right beats left when both are held.
    if (up) velocity_.y = -max_speed_;
    if (down) velocity_.y = max_speed_;
    if (left) velocity_.x = -max_speed_;
    if (right) velocity_.x = max_speed_;
    // A held key decides its axis; otherwise the pad's or the touch stick's tilt sets the speed, and at
    // rest the ghost glides to a stop as it does after a key.
    const glm::vec2 tilt = input.tilt;
    if (!left && !right && tilt.x != 0.0f) velocity_.x = tilt.x * max_speed_;
    if (!up && !down && tilt.y != 0.0f) velocity_.y = tilt.y * max_speed_;
}

void Player::checkState() {
    const bool flip = velocity_.x < 0.0f;
    sprite_move_->setFlip(flip);
    sprite_idle_->setFlip(flip);
    const bool moving = glm::length(velocity_) > 0.1f;
    if (moving == is_moving_) return;
    is_moving_ = moving;
    changeState(moving);
}

// The incoming animation carries on from the outgoing one's frame, so the switch does not restart it.
void Player::changeState(bool moving) {
    SpriteAnim* from = moving ? sprite_idle_ : sprite_move_;
    SpriteAnim* to = moving ? sprite_move_ : sprite_idle_;
    from->setActive(false);
    to->setActive(true);
    to->setCurrentFrame(from->getCurrentFrame());
    to->setFrameTimer(from->getFrameTimer());
}

void Player::syncCamera() {
    game_.getCurrentScene()->setCameraPosition(position_ - game_.getScreenSize() / 2.0f);
}

void Player::checkIsDead() {
    if (stats_->getIsAlive()) return;
    game_.getCurrentScene()->safeAddChild(effect_);
    is_effect_handed_ = true;
    effect_->setPosition(getPosition());
    setActive(false);
    game_.playSound("assets/sound/female-scream-02-89290.mp3");
}

// A player that never died (restart, back, closing the window) still holds its death effect.
void Player::dropDeathEffect() {
    if (!effect_ || is_effect_handed_) return;
    effect_->clean();
    delete effect_;
    effect_ = nullptr;
}
