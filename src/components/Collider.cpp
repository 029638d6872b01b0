#include "components/Collider.h"

#include "object/ObjectScreen.h"

Collider* Collider::addColliderChild(ObjectScreen* parent, glm::vec2 size, ColliderShape shape,
                                     Anchor anchor) {
    auto* collider = new Collider;
    collider->init();
    collider->setParent(parent);
    collider->setSize(size);
    collider->setShape(shape);
    collider->setOffsetByAnchor(anchor);
    parent->addChild(collider);
    return collider;
}

bool Collider::isColliding(const Collider* other) const {
    if (!other) return false;
    if (shape_ != ColliderShape::CIRCLE || other->shape_ != ColliderShape::CIRCLE) return false;
    const float distance = glm::length(getCentre() - other->getCentre());
    return (size_.x + other->size_.x) / 2.0f > distance;
}

// World position, not screen position: collisions do not depend on the camera.
glm::vec2 Collider::getCentre() const {
    return parent_->getPosition() + offset_ + size_ / 2.0f;
}
