#include "object/ObjectWorld.h"

#include "core/Game.h"
#include "object/Scene.h"

void ObjectWorld::init() {
    type_ = ObjectType::OBJECT_WORLD;
}

void ObjectWorld::update(float dt) {
    Object::update(dt);
    render_position_ = game_.getCurrentScene()->worldToScreen(position_);
}

void ObjectWorld::setRenderPosition(glm::vec2 position) {
    render_position_ = position;
    position_ = game_.getCurrentScene()->screenToWorld(position);
}

void ObjectWorld::setPosition(glm::vec2 position) {
    position_ = position;
    render_position_ = game_.getCurrentScene()->worldToScreen(position);
}
