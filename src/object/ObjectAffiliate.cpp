#include "object/ObjectAffiliate.h"

#include "object/ObjectScreen.h"

void ObjectAffiliate::setOffsetByAnchor(Anchor anchor) {
    anchor_ = anchor;
    const float w = size_.x;
    const float h = size_.y;
    switch (anchor) {
    case Anchor::TOP_LEFT:
        offset_ = {0.0f, 0.0f};
        break;
    case Anchor::TOP_CENTER:
        offset_ = {-w / 2.0f, 0.0f};
        break;
    case Anchor::TOP_RIGHT:
        offset_ = {-w, 0.0f};
        break;
    case Anchor::CENTER_LEFT:
        offset_ = {0.0f, -h / 2.0f};
        break;
    case Anchor::CENTER:
        offset_ = {-w / 2.0f, -h / 2.0f};
        break;
    case Anchor::CENTER_RIGHT:
        offset_ = {-w, -h / 2.0f};
        break;
    case Anchor::BOTTOM_LEFT:
        offset_ = {0.0f, -h};
        break;
    case Anchor::BOTTOM_CENTER:
        offset_ = {-w / 2.0f, -h};
        break;
    case Anchor::BOTTOM_RIGHT:
        offset_ = {-w, -h};
        break;
    default:
        break; // NONE and anything unknown keep the offset
    }
}

void ObjectAffiliate::setSize(glm::vec2 size) {
    size_ = size;
    setOffsetByAnchor(anchor_);
}

glm::vec2 ObjectAffiliate::getScreenPosition() const {
    return parent_->getRenderPosition() + offset_;
}
