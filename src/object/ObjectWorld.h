#pragma once
#include "object/ObjectScreen.h"

class Collider;

// An object placed in the world; its screen position follows from the camera every update.
class ObjectWorld : public ObjectScreen {
public:
    void init() override;
    void update(float dt) override;
    void setRenderPosition(glm::vec2 position) override;
    glm::vec2 getPosition() const override { return position_; }
    virtual void takeDamage(float /*damage*/) {}

    void setPosition(glm::vec2 position);
    Collider* getCollider() const { return collider_; }

protected:
    glm::vec2 position_ = glm::vec2(0.0f);
    Collider* collider_ = nullptr; // one of our children: owned through the children list
};
