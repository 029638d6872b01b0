#include "shell/LiveInput.h"

#include "shell/Devices.h"

void LiveInput::begin() {
    has_strike_ = false;
    slow_on_ = false;
    slow_was_held_ = false;
}

void LiveInput::noteStrike(glm::vec2 aim) {
    if (has_strike_) return;
    has_strike_ = true;
    aim_ = aim;
}

FrameInput LiveInput::read(const Devices& devices, const Bindings& bindings, bool slow_toggles, float dt,
                           bool paused) {
    const bool* keys = devices.getKeyboardState();
    const SDL_MouseButtonFlags buttons = devices.getMouseButtons();
    FrameInput input;
    input.dt = dt;
    input.up = bindings.isHeld(Action::UP, keys, buttons);
    input.down = bindings.isHeld(Action::DOWN, keys, buttons);
    input.left = bindings.isHeld(Action::LEFT, keys, buttons);
    input.right = bindings.isHeld(Action::RIGHT, keys, buttons);
    input.tilt = devices.getMoveTilt();
    const bool held = bindings.isHeld(Action::SLOW, keys, buttons) || devices.getGamepad().isSlowHeld() ||
                      devices.getTouch().isSlowHeld();
    if (!slow_toggles) {
        slow_on_ = held;
    } else if (held && !slow_was_held_) {
        slow_on_ = !slow_on_;
    }
    slow_was_held_ = held;
    input.slow = slow_on_;
    input.paused = paused;
    input.strike = has_strike_;
    input.aim = has_strike_ ? aim_ : glm::vec2(0.0f);
    has_strike_ = false;
    return input;
}
