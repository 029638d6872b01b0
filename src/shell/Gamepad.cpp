#include "shell/Gamepad.h"

#include <cmath>

Uint32 padActionEventType() {
    static const Uint32 type = SDL_RegisterEvents(1);
    return type;
}

PadAction padActionOf(const SDL_Event& event) {
    if (event.type != padActionEventType()) return PadAction::NONE;
    return static_cast<PadAction>(event.user.code);
}

SDL_Event makePadActionEvent(PadAction action) {
    SDL_Event event{};
    event.type = padActionEventType();
    event.user.code = static_cast<Sint32>(action);
    return event;
}

PadAction Gamepad::handleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_EVENT_GAMEPAD_ADDED:
        if (!pad_) open(event.gdevice.which);
        return PadAction::NONE;
    case SDL_EVENT_GAMEPAD_REMOVED:
        if (pad_ && event.gdevice.which == id_) {
            close();
            int count = 0;
            if (SDL_JoystickID* ids = SDL_GetGamepads(&count)) {
                for (int i = 0; i < count && !pad_; ++i) {
                    if (ids[i] != event.gdevice.which) open(ids[i]);
                }
                SDL_free(ids);
            }
        }
        return PadAction::NONE;
    case SDL_EVENT_GAMEPAD_BUTTON_DOWN:
        return pad_ && event.gbutton.which == id_ ? buttonAction(event.gbutton.button) : PadAction::NONE;
    case SDL_EVENT_GAMEPAD_AXIS_MOTION:
        if (!pad_ || event.gaxis.which != id_) return PadAction::NONE;
        return axisAction(event.gaxis.axis, static_cast<float>(event.gaxis.value) / 32767.0f);
    default:
        return PadAction::NONE;
    }
}

void Gamepad::open(SDL_JoystickID id) {
    pad_ = SDL_OpenGamepad(id);
    if (!pad_) {
        SDL_Log("Cannot open the gamepad: %s", SDL_GetError());
        return;
    }
    id_ = id;
    type_ = SDL_GetGamepadType(pad_);
    names_ = padNames(type_);
    cast_trigger_down_ = false;
    flick_ = glm::ivec2(0);
    SDL_Log("Gamepad connected: %s (%s)", SDL_GetGamepadName(pad_), SDL_GetGamepadStringForType(type_));
}

void Gamepad::close() {
    if (!pad_) return;
    SDL_CloseGamepad(pad_);
    pad_ = nullptr;
    id_ = 0;
    type_ = SDL_GAMEPAD_TYPE_STANDARD;
    names_ = padNames(type_);
}

const PadNames& Gamepad::getNames() const {
    if (names_language_.changed()) names_ = padNames(type_);
    return names_;
}

glm::vec2 Gamepad::getMove() const {
    glm::vec2 move = stick(SDL_GAMEPAD_AXIS_LEFTX, SDL_GAMEPAD_AXIS_LEFTY);
    if (!pad_) return move;
    const auto held = [this](SDL_GamepadButton button) { return SDL_GetGamepadButton(pad_, button); };
    if (held(SDL_GAMEPAD_BUTTON_DPAD_LEFT)) move.x = -1.0f;
    if (held(SDL_GAMEPAD_BUTTON_DPAD_RIGHT)) move.x = 1.0f;
    if (held(SDL_GAMEPAD_BUTTON_DPAD_UP)) move.y = -1.0f;
    if (held(SDL_GAMEPAD_BUTTON_DPAD_DOWN)) move.y = 1.0f;
    return move;
}

float Gamepad::axis(SDL_GamepadAxis axis) const {
    if (!pad_) return 0.0f;
    // -32768 would be a hair past full tilt; clamp so full tilt is exactly 1.
    return std::fmax(-1.0f, static_cast<float>(SDL_GetGamepadAxis(pad_, axis)) / 32767.0f);
}

glm::vec2 Gamepad::stick(SDL_GamepadAxis x_axis, SDL_GamepadAxis y_axis) const {
    const glm::vec2 tilt(axis(x_axis), axis(y_axis));
    const float length = glm::length(tilt);
    // Resting sticks rarely read exactly zero: a small tilt is no tilt. Past the rim is full tilt.
    if (length < DEAD_ZONE) return glm::vec2(0.0f);
    return length > 1.0f ? tilt / length : tilt;
}

PadAction Gamepad::buttonAction(Uint8 button) const {
    if (button == confirmButton(type_)) return PadAction::PRIMARY;
    if (button == backButton(type_)) return PadAction::BACK;
    switch (button) {
    case SDL_GAMEPAD_BUTTON_START:
        return PadAction::PAUSE;
    case SDL_GAMEPAD_BUTTON_DPAD_UP:
        return PadAction::UP;
    case SDL_GAMEPAD_BUTTON_DPAD_DOWN:
        return PadAction::DOWN;
    case SDL_GAMEPAD_BUTTON_DPAD_LEFT:
        return PadAction::LEFT;
    case SDL_GAMEPAD_BUTTON_DPAD_RIGHT:
        return PadAction::RIGHT;
    default:
        return PadAction::NONE;
    }
}

PadAction Gamepad::axisAction(Uint8 axis, float value) {
    if (axis == SDL_GAMEPAD_AXIS_RIGHT_TRIGGER) {
        const bool down = value > TRIGGER_DOWN;
        const bool pressed = down && !cast_trigger_down_;
        cast_trigger_down_ = down;
        return pressed ? PadAction::PRIMARY : PadAction::NONE;
    }
    if (axis != SDL_GAMEPAD_AXIS_LEFTX && axis != SDL_GAMEPAD_AXIS_LEFTY) return PadAction::NONE;
    int& step = axis == SDL_GAMEPAD_AXIS_LEFTX ? flick_.x : flick_.y;
    if (std::fabs(value) < NAVIGATION_RESET) step = 0;
    if (std::fabs(value) < NAVIGATION_TILT || step != 0) return PadAction::NONE;
    step = value > 0.0f ? 1 : -1;
    if (axis == SDL_GAMEPAD_AXIS_LEFTX) return step > 0 ? PadAction::RIGHT : PadAction::LEFT;
    return step > 0 ? PadAction::DOWN : PadAction::UP;
}
