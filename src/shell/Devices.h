#pragma once
#include "shell/Bindings.h"
#include "shell/Gamepad.h"
#include "shell/Touch.h"

#include <SDL3/SDL.h>
#include <glm/glm.hpp>

// The player's devices as the game reads them: the mouse, and the cursor it shares with the pad's right
// stick, the cursor keys and the fingers; the pad; the fingers and their layout on the screen; and which
// of them the player used last, whose words the screens show.
class Devices {
public:
    static constexpr float PAD_CURSOR_SPEED = 1200.0f; // screen pixels per second at full tilt

    // Once the window is open: positions are mapped through its renderer's letterboxed presentation.
    void attach(SDL_Window* window, SDL_Renderer* renderer, glm::vec2 screen_size);
    void close() { gamepad_.close(); }
    // Each event, before the scene sees it: the pointer goes where it happened, and the device used
    // is noted (the pad's action, if the event was one).
    void noteEvent(const SDL_Event& event, PadAction action);
    // Once a frame: the mouse as it is now, the touch layout for the window's shape, and the cursor
    // moved by the pad's stick and, with keys given (in play), the cursor keys.
    void update(float dt, const Bindings* cursor_keys);
    // The mouse as it is now (a cursor the pad placed stays until the mouse really moves).
    void updateMouse();
    // A strike by a finger or a replay lands here: the cursor goes there first.
    void placeCursor(glm::vec2 point);
    void setTouchFirst() { last_input_ = InputDevice::TOUCH; }

    glm::vec2 getMousePosition() const { return mouse_position_; }
    SDL_MouseButtonFlags getMouseButtons() const { return mouse_buttons_; }
    // Tests stand in for the pointer here; the next update reads the real one again.
    void setMouseState(glm::vec2 position, SDL_MouseButtonFlags buttons);
    bool isMouseInRect(glm::vec2 top_left, glm::vec2 bottom_right) const;
    // The keys held now, indexed by scancode; tests may stand in for the keyboard (null: the real one).
    const bool* getKeyboardState() const {
        return keyboard_override_ ? keyboard_override_ : SDL_GetKeyboardState(nullptr);
    }
    void setKeyboardOverride(const bool* keys) { keyboard_override_ = keys; }
    Gamepad& getGamepad() { return gamepad_; }
    const Gamepad& getGamepad() const { return gamepad_; }
    Touch& getTouch() { return touch_; }
    const Touch& getTouch() const { return touch_; }
    // How far the pad's stick, or else the touch stick, tilts.
    glm::vec2 getMoveTilt() const;
    bool isPadLastUsed() const { return last_input_ == InputDevice::PAD; }
    bool isTouchLastUsed() const { return last_input_ == InputDevice::TOUCH; }

private:
    void followPointer(const SDL_Event& event);
    // The pointer seen at window, in window pixels.
    void pointerAt(glm::vec2 window);
    void aim(float dt, const Bindings* cursor_keys);
    // Remade when the window changes size: a phone turned round has other insets and another scale.
    void updateTouchLayout();

    Gamepad gamepad_;
    Touch touch_;
    SDL_Window* window_ = nullptr;     // the Game's
    SDL_Renderer* renderer_ = nullptr; // the Game's
    const bool* keyboard_override_ = nullptr; // owned by whoever set it
    glm::ivec2 touch_layout_window_ = glm::ivec2(0); // the window size the touch layout was made for
    glm::vec2 screen_size_ = glm::vec2(0.0f);
    glm::vec2 mouse_position_ = glm::vec2(0.0f);
    glm::vec2 mouse_window_position_ = glm::vec2(0.0f); // the real pointer, in window pixels
    SDL_MouseButtonFlags mouse_buttons_ = 0;
    enum class InputDevice { KEYBOARD_AND_MOUSE, PAD, TOUCH };
    InputDevice last_input_ = InputDevice::KEYBOARD_AND_MOUSE;
    bool is_cursor_placed_ = false; // the pad, the cursor keys or a finger moved the cursor last
};
