#include "components/Spell.h"

#include "components/Collider.h"
#include "components/SpriteAnim.h"
#include "core/Game.h"
#include "object/Scene.h"

Spell* Spell::addSpellChild(Object* parent, const std::string& file_path, glm::vec2 position, float damage,
                            float scale, Anchor anchor) {
    auto* spell = new Spell;
    spell->init();
    spell->damage_ = damage;
    spell->sprite_ = SpriteAnim::addSpriteAnimChild(spell, file_path, scale, anchor);
    spell->collider_ =
        Collider::addColliderChild(spell, spell->sprite_->getSize(), ColliderShape::CIRCLE, anchor);
    spell->sprite_->setLoop(false);
    spell->setPosition(position);
    if (parent) parent->addChild(spell);
    return spell;
}

void Spell::update(float dt) {
    ObjectWorld::update(dt);
    if (sprite_->getFinish()) setNeedRemove(true);
    attack();
}

void Spell::attack() {
    if (!collider_) return;
    // A copy: an enemy's takeDamage must not be able to disturb the list under our feet.
    const std::vector<ObjectWorld*> world = game_.getCurrentScene()->getChildrenWorld();
    for (ObjectWorld* object : world) {
        if (object->getType() != ObjectType::ENEMY) continue;
        if (collider_->isColliding(object->getCollider())) object->takeDamage(damage_);
    }
}
