#include "components/Effect.h"

#include "components/SpriteAnim.h"
#include "core/Game.h"
#include "object/Scene.h"

Effect* Effect::addEffectChild(Object* parent, const std::string& file_path, glm::vec2 position, float scale,
                               ObjectWorld* next_object) {
    auto* effect = new Effect;
    effect->init();
    effect->sprite_ = SpriteAnim::addSpriteAnimChild(effect, file_path, scale, Anchor::CENTER);
    effect->sprite_->setLoop(false);
    effect->setPosition(position);
    effect->setNextObject(next_object);
    if (parent) parent->addChild(effect);
    return effect;
}

Effect::~Effect() {
    dropNextObject();
}

void Effect::update(float dt) {
    ObjectWorld::update(dt);
    checkFinish();
}

// Left early (the scene closed mid-animation), the follow-up was never handed over: it is still ours.
void Effect::clean() {
    ObjectWorld::clean();
    dropNextObject();
}

long Effect::countOwned() const {
    return ObjectWorld::countOwned() + (next_object_ ? next_object_->countOwned() : 0);
}

void Effect::checkFinish() {
    if (!sprite_->getFinish()) return;
    setNeedRemove(true);
    if (!next_object_) return;
    game_.getCurrentScene()->safeAddChild(next_object_);
    next_object_ = nullptr; // the scene owns it now
}

void Effect::dropNextObject() {
    if (!next_object_) return;
    next_object_->clean();
    delete next_object_;
    next_object_ = nullptr;
}
