#pragma once
#include "object/Anchor.h"
#include "object/Object.h"

#include <glm/glm.hpp>

class ObjectScreen;

// A component drawn relative to the screen or world object it is attached to.
class ObjectAffiliate : public Object {
public:
    // Places the box so that the anchor's point sits on the parent's position.
    void setOffsetByAnchor(Anchor anchor);
    // Keeps the box anchored at the same point as it grows or shrinks.
    void setSize(glm::vec2 size);

    void setAnchor(Anchor anchor) { anchor_ = anchor; }
    Anchor getAnchor() const { return anchor_; }
    void setOffset(glm::vec2 offset) { offset_ = offset; }
    glm::vec2 getOffset() const { return offset_; }
    void setParent(ObjectScreen* parent) { parent_ = parent; }
    ObjectScreen* getParent() const { return parent_; }
    glm::vec2 getSize() const { return size_; }
    // Top-left corner of the box on the screen.
    glm::vec2 getScreenPosition() const;

protected:
    ObjectScreen* parent_ = nullptr; // owns us through its children list
    glm::vec2 offset_ = glm::vec2(0.0f);
    glm::vec2 size_ = glm::vec2(0.0f);
    Anchor anchor_ = Anchor::CENTER;
};
