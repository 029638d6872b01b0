#include "shell/Touch.h"

#include <algorithm>

namespace {

bool inside(const SDL_FRect& rect, glm::vec2 point) {
    return point.x >= rect.x && point.x < rect.x + rect.w && point.y >= rect.y && point.y < rect.y + rect.h;
}

} // namespace

// The pause button sits under the score, the slow-motion button above the row of small buttons on the
// right, where the striking thumb rests; both in from the safe area's edge.
TouchLayout Touch::layoutFor(glm::vec2 screen, float scale, SDL_FRect safe) {
    const float unit = 1.0f / std::max(scale, 0.01f);
    // Never smaller than the art around them, which is drawn for a desktop's screen.
    const float size = std::max(96.0f, BUTTON_SIZE * unit);
    const float margin = 16.0f;
    const float right = std::min(screen.x, safe.x + safe.w) - margin;
    const float top = std::max(64.0f, safe.y + margin);
    const float bottom = std::min(screen.y - 48.0f, safe.y + safe.h - margin);
    TouchLayout layout;
    layout.stick_right = screen.x * STICK_SHARE;
    layout.stick_radius = std::max(80.0f, STICK_RADIUS * unit);
    layout.stick_home = {std::max(0.0f, safe.x) + margin + 1.5f * layout.stick_radius,
                         bottom - 1.5f * layout.stick_radius};
    layout.pause = {right - size, top, size, size};
    layout.slow = {right - size, bottom - size, size, size};
    layout.unit = unit;
    return layout;
}

TouchAction Touch::handleFinger(Uint32 type, SDL_FingerID id, glm::vec2 point, TouchMode mode) {
    if (type == SDL_EVENT_FINGER_DOWN) return land(id, point, mode);
    const auto finger = findId(id);
    if (finger == fingers_.end()) return {};
    if (type == SDL_EVENT_FINGER_MOTION) {
        finger->point = point;
        // The stick floats: a thumb sliding past its rim drags it along instead of losing it.
        const glm::vec2 reach = point - finger->anchor;
        const float length = glm::length(reach);
        if (finger->role == Role::STICK && length > layout_.stick_radius)
            finger->anchor = point - reach * (layout_.stick_radius / length);
        return {};
    }
    if (type != SDL_EVENT_FINGER_UP && type != SDL_EVENT_FINGER_CANCELED) return {};
    const Role role = finger->role;
    fingers_.erase(finger);
    if (role != Role::PRESS) return {};
    // A touch the system took over clicks nothing: it is let go off the screen.
    return {TouchAction::RELEASE, type == SDL_EVENT_FINGER_UP ? point : glm::vec2(-1.0f)};
}

TouchAction Touch::land(SDL_FingerID id, glm::vec2 point, TouchMode mode) {
    if (findId(id) != fingers_.end()) return {};
    Finger finger{id, Role::STRIKE, point, point};
    TouchAction action{TouchAction::NONE, point};
    if (mode != TouchMode::MENU && inside(layout_.pause, point)) {
        finger.role = Role::PAUSE;
        action.kind = TouchAction::PAUSE;
    } else if (mode == TouchMode::PLAY && inside(layout_.slow, point)) {
        finger.role = Role::SLOW;
    } else if (mode == TouchMode::PLAY && point.x < layout_.stick_right && !find(Role::STICK)) {
        finger.role = Role::STICK;
    } else if (mode == TouchMode::PLAY) {
        action.kind = TouchAction::STRIKE;
    } else if (!find(Role::PRESS)) {
        finger.role = Role::PRESS;
        action.kind = TouchAction::PRESS;
    } else {
        return {}; // one finger clicks at a time
    }
    fingers_.push_back(finger);
    return action;
}

glm::vec2 Touch::getMove() const {
    const Finger* thumb = find(Role::STICK);
    if (!thumb) return glm::vec2(0.0f);
    const glm::vec2 tilt = (thumb->point - thumb->anchor) / layout_.stick_radius;
    const float length = glm::length(tilt);
    if (length < DEAD_ZONE) return glm::vec2(0.0f);
    return length > 1.0f ? tilt / length : tilt;
}

bool Touch::isSlowHeld() const {
    return find(Role::SLOW) != nullptr;
}

std::optional<std::pair<glm::vec2, glm::vec2>> Touch::getStick() const {
    const Finger* thumb = find(Role::STICK);
    if (!thumb) return std::nullopt;
    return std::pair(thumb->anchor, thumb->point);
}

std::vector<Touch::Finger>::iterator Touch::findId(SDL_FingerID id) {
    return std::find_if(fingers_.begin(), fingers_.end(), [id](const Finger& f) { return f.id == id; });
}

const Touch::Finger* Touch::find(Role role) const {
    const auto found =
        std::find_if(fingers_.begin(), fingers_.end(), [role](const Finger& f) { return f.role == role; });
    return found == fingers_.end() ? nullptr : &*found;
}
