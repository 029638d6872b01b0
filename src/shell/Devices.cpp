#include "shell/Devices.h"

#include "shell/Platform.h"

#include <cmath>

void Devices::attach(SDL_Window* window, SDL_Renderer* renderer, glm::vec2 screen_size) {
    window_ = window;
    renderer_ = renderer;
    screen_size_ = screen_size;
}

void Devices::noteEvent(const SDL_Event& event, PadAction action) {
    followPointer(event);
    switch (event.type) {
    case SDL_EVENT_GAMEPAD_BUTTON_DOWN:
        last_input_ = InputDevice::PAD;
        break;
    case SDL_EVENT_GAMEPAD_AXIS_MOTION:
        // Half tilt: a resting stick's drift is not the player picking the pad up.
        if (action != PadAction::NONE || std::abs(event.gaxis.value) > SDL_JOYSTICK_AXIS_MAX / 2) {
            last_input_ = InputDevice::PAD;
        }
        break;
    case SDL_EVENT_FINGER_DOWN:
        last_input_ = InputDevice::TOUCH;
        break;
    case SDL_EVENT_KEY_DOWN:
    case SDL_EVENT_MOUSE_BUTTON_DOWN:
    case SDL_EVENT_MOUSE_MOTION:
        last_input_ = InputDevice::KEYBOARD_AND_MOUSE;
        break;
    default:
        break;
    }
}

void Devices::update(float dt, const Bindings* cursor_keys) {
    updateMouse();
    updateTouchLayout();
    aim(dt, cursor_keys);
}

void Devices::placeCursor(glm::vec2 point) {
    mouse_position_ = point;
    is_cursor_placed_ = true;
}

// The pointer where the event happened, before the scene sees it: a press that comes with the move
// onto a button in one frame (a pen, a remote desktop, a fast tap) lands on that button.
void Devices::followPointer(const SDL_Event& event) {
    if (event.type == SDL_EVENT_MOUSE_MOTION && event.motion.which != SDL_TOUCH_MOUSEID) {
        pointerAt({event.motion.x, event.motion.y});
    } else if ((event.type == SDL_EVENT_MOUSE_BUTTON_DOWN || event.type == SDL_EVENT_MOUSE_BUTTON_UP) &&
               event.button.which != SDL_TOUCH_MOUSEID) {
        pointerAt({event.button.x, event.button.y});
    }
}

void Devices::updateMouse() {
    glm::vec2 window(0.0f);
    mouse_buttons_ = SDL_GetMouseState(&window.x, &window.y);
    pointerAt(window);
}

// A cursor the pad placed stays until the mouse really moves. SDL's own mapping follows the letterboxed
// presentation at any window shape, which a plain screen/window scale only does at the canvas's ratio.
void Devices::pointerAt(glm::vec2 window) {
    if (is_cursor_placed_ && window == mouse_window_position_) return;
    is_cursor_placed_ = false;
    mouse_window_position_ = window;
    glm::vec2 game(0.0f);
    if (SDL_RenderCoordinatesFromWindow(renderer_, window.x, window.y, &game.x, &game.y))
        mouse_position_ = game;
}

void Devices::aim(float dt, const Bindings* cursor_keys) {
    glm::vec2 aim = gamepad_.getAim();
    // Keys on the cursor in play only: in menus the same keys move the highlight.
    if (cursor_keys) {
        const Bindings& b = *cursor_keys;
        const bool* keys = getKeyboardState();
        const auto axis = [&](Action minus, Action plus) {
            return (b.isHeld(plus, keys, 0) ? 1.0f : 0.0f) - (b.isHeld(minus, keys, 0) ? 1.0f : 0.0f);
        };
        const glm::vec2 keyed(axis(Action::CURSOR_LEFT, Action::CURSOR_RIGHT),
                              axis(Action::CURSOR_UP, Action::CURSOR_DOWN));
        if (keyed != glm::vec2(0.0f)) aim = glm::clamp(aim + keyed, glm::vec2(-1.0f), glm::vec2(1.0f));
    }
    if (aim == glm::vec2(0.0f)) return;
    is_cursor_placed_ = true;
    mouse_position_ =
        glm::clamp(mouse_position_ + aim * PAD_CURSOR_SPEED * dt, glm::vec2(0.0f), screen_size_);
}

void Devices::updateTouchLayout() {
    int width = 0;
    int height = 0;
    if (!window_ || !renderer_ || !SDL_GetWindowSize(window_, &width, &height)) return;
    if (glm::ivec2(width, height) == touch_layout_window_) return;
    touch_layout_window_ = {width, height};
    const SDL_Rect safe = windowSafeArea(window_);
    glm::vec2 origin(0.0f);
    glm::vec2 corner(0.0f);
    glm::vec2 step(0.0f);
    SDL_RenderCoordinatesFromWindow(renderer_, static_cast<float>(safe.x), static_cast<float>(safe.y),
                                    &origin.x, &origin.y);
    SDL_RenderCoordinatesFromWindow(renderer_, static_cast<float>(safe.x + safe.w),
                                    static_cast<float>(safe.y + safe.h), &corner.x, &corner.y);
    SDL_RenderCoordinatesFromWindow(renderer_, static_cast<float>(safe.x + 100), static_cast<float>(safe.y),
                                    &step.x, &step.y);
    const float scale = step.x > origin.x ? 100.0f / (step.x - origin.x) : 1.0f;
    touch_.setLayout(Touch::layoutFor(screen_size_, scale,
                                      {origin.x, origin.y, corner.x - origin.x, corner.y - origin.y}));
}

void Devices::setMouseState(glm::vec2 position, SDL_MouseButtonFlags buttons) {
    mouse_position_ = position;
    mouse_buttons_ = buttons;
}

bool Devices::isMouseInRect(glm::vec2 top_left, glm::vec2 bottom_right) const {
    return mouse_position_.x >= top_left.x && mouse_position_.x <= bottom_right.x &&
           mouse_position_.y >= top_left.y && mouse_position_.y <= bottom_right.y;
}

glm::vec2 Devices::getMoveTilt() const {
    const glm::vec2 pad = gamepad_.getMove();
    return pad != glm::vec2(0.0f) ? pad : touch_.getMove();
}
