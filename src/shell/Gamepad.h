#pragma once
#include "i18n/Translation.h"
#include "shell/PadNames.h"

#include <SDL3/SDL.h>
#include <glm/glm.hpp>

// What a press on the pad means to the game. The scene tree receives these as SDL events of
// padActionEventType(), with the action in user.code.
enum class PadAction { NONE, PRIMARY, BACK, PAUSE, UP, DOWN, LEFT, RIGHT };

[[nodiscard]] Uint32 padActionEventType();
[[nodiscard]] PadAction padActionOf(const SDL_Event& event);
[[nodiscard]] SDL_Event makePadActionEvent(PadAction action);

// The pad that plays: the first one connected. One that is unplugged is forgotten and the next one
// connected (or still there) takes over; without one, every reading is at rest.
class Gamepad {
public:
    static constexpr float DEAD_ZONE = 0.2f;
    static constexpr float TRIGGER_DOWN = 0.5f;
    // A flick of the left stick past this moves a menu highlight one step; it must come back inside
    // NAVIGATION_RESET before the next step.
    static constexpr float NAVIGATION_TILT = 0.6f;
    static constexpr float NAVIGATION_RESET = 0.3f;

    Gamepad() = default;
    Gamepad(const Gamepad&) = delete;
    Gamepad& operator=(const Gamepad&) = delete;
    ~Gamepad() { close(); }

    // Follows pads coming and going; returns the action this event stands for, if any.
    PadAction handleEvent(const SDL_Event& event);
    void close();

    bool isConnected() const { return pad_ != nullptr; }
    // Left stick with its dead zone, or the D-pad at full tilt on its axes; each axis in -1..1.
    glm::vec2 getMove() const;
    glm::vec2 getAim() const { return stick(SDL_GAMEPAD_AXIS_RIGHTX, SDL_GAMEPAD_AXIS_RIGHTY); }
    bool isSlowHeld() const { return axis(SDL_GAMEPAD_AXIS_LEFT_TRIGGER) > TRIGGER_DOWN; }
    // How this pad's family labels the buttons the game names (a standard pad's words without one), in
    // the language on screen.
    const PadNames& getNames() const;

private:
    void open(SDL_JoystickID id);
    float axis(SDL_GamepadAxis axis) const;
    glm::vec2 stick(SDL_GamepadAxis x_axis, SDL_GamepadAxis y_axis) const;
    PadAction buttonAction(Uint8 button) const;
    PadAction axisAction(Uint8 axis, float value);

    SDL_Gamepad* pad_ = nullptr; // opened here, closed in close()
    SDL_JoystickID id_ = 0;
    SDL_GamepadType type_ = SDL_GAMEPAD_TYPE_STANDARD;
    mutable PadNames names_ = padNames(SDL_GAMEPAD_TYPE_STANDARD); // made again when the language changes
    mutable LanguageWatch names_language_;
    bool cast_trigger_down_ = false;
    glm::ivec2 flick_ = glm::ivec2(0); // the left stick's current step, so a held flick steps once
};
