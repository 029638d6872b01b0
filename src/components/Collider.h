#pragma once
#include "object/ObjectAffiliate.h"

enum class ColliderShape : int {
    CIRCLE = 0,
};

// An invisible collision circle: diameter size.x, centred on the middle of its box.
class Collider : public ObjectAffiliate {
public:
    static Collider* addColliderChild(ObjectScreen* parent, glm::vec2 size, ColliderShape shape,
                                      Anchor anchor);
    void render() override {}

    // Exactly touching circles do not collide.
    [[nodiscard]] bool isColliding(const Collider* other) const;
    void setShape(ColliderShape shape) { shape_ = shape; }

private:
    glm::vec2 getCentre() const;

    ColliderShape shape_ = ColliderShape::CIRCLE;
};
