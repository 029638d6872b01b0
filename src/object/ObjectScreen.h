#pragma once
#include "object/Object.h"

#include <glm/glm.hpp>

// An object with a place on the logical screen; it does not move with the camera.
class ObjectScreen : public Object {
public:
    void init() override;
    virtual void setRenderPosition(glm::vec2 position) { render_position_ = position; }
    // A screen object has no world position.
    virtual glm::vec2 getPosition() const { return glm::vec2(0.0f); }

    glm::vec2 getRenderPosition() const { return render_position_; }

protected:
    glm::vec2 render_position_ = glm::vec2(0.0f);
};
