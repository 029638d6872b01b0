#include "actors/Enemy.h"

#include "actors/Player.h"
#include "components/AffiliateBar.h"
#include "components/Collider.h"
#include "components/SpriteAnim.h"
#include "components/Stats.h"
#include "core/Game.h"

#include <limits>

Enemy* Enemy::addEnemyChild(Object* parent, glm::vec2 position, Player* target) {
    auto* enemy = new Enemy;
    enemy->init();
    enemy->setPosition(position);
    enemy->setTarget(target);
    if (parent) parent->addChild(enemy);
    return enemy;
}

void Enemy::init() {
    Actor::init();
    anim_normal_ =
        SpriteAnim::addSpriteAnimChild(this, "assets/sprite/ghost-Sheet.png", 2.0f, Anchor::CENTER);
    anim_hurt_ =
        SpriteAnim::addSpriteAnimChild(this, "assets/sprite/ghostHurt-Sheet.png", 2.0f, Anchor::CENTER);
    anim_die_ =
        SpriteAnim::addSpriteAnimChild(this, "assets/sprite/ghostDead-Sheet.png", 2.0f, Anchor::CENTER);
    anim_hurt_->setActive(false);
    anim_die_->setActive(false);
    anim_die_->setLoop(false);
    current_anim_ = anim_normal_;
    const glm::vec2 size = current_anim_->getSize();
    collider_ = Collider::addColliderChild(this, size, ColliderShape::CIRCLE, Anchor::CENTER);
    stats_ = Stats::addStatsChild(this, 50.0f, 100.0f, 40.0f, 10.0f);
    // Across the lower part of the body, 5 px inside its left, right and bottom edges.
    health_bar_ = AffiliateBar::addAffiliateBarChild(this, {size.x - 10.0f, 10.0f}, Anchor::BOTTOM_CENTER);
    health_bar_->setOffset(health_bar_->getOffset() + glm::vec2(0.0f, size.y / 2.0f - 5.0f));
    setType(ObjectType::ENEMY);
}

void Enemy::update(float dt) {
    Actor::update(dt);
    // A dying enemy keeps chasing until its animation ends; a dead player stops everyone.
    if (target_->getIsActive()) {
        aimTarget(target_);
        move(dt);
        attack();
    }
    checkState();
    remove();
}

void Enemy::aimTarget(Player* target) {
    if (!target) return;
    const glm::vec2 offset = target->getPosition() - position_;
    // Standing exactly on the target there is no direction: normalising would give NaN for good.
    if (glm::dot(offset, offset) < std::numeric_limits<float>::min()) {
        velocity_ = glm::vec2(0.0f);
        return;
    }
    velocity_ = glm::normalize(offset) * max_speed_;
}

void Enemy::attack() {
    if (!collider_ || !target_ || !target_->getCollider()) return;
    if (!collider_->isColliding(target_->getCollider())) return;
    if (stats_ && target_->getStats()) target_->takeDamage(stats_->getDamage());
}

void Enemy::checkState() {
    State state = State::NORMAL;
    if (stats_->getHealth() <= 0.0f) {
        state = State::DIE;
    } else if (stats_->getInvincible()) {
        state = State::HURT;
    }
    if (state != current_state_) changeState(state);
}

void Enemy::changeState(State state) {
    current_anim_->setActive(false);
    switch (state) {
    case State::NORMAL:
        current_anim_ = anim_normal_;
        break;
    case State::HURT:
        current_anim_ = anim_hurt_;
        break;
    case State::DIE:
        current_anim_ = anim_die_;
        game_.addScore(score_);
        break;
    }
    current_anim_->setActive(true);
    current_state_ = state;
}

void Enemy::remove() {
    if (anim_die_->getFinish()) setNeedRemove(true);
}
