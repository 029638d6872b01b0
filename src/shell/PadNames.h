#pragma once
#include <SDL3/SDL.h>

#include <string>

// The words a pad's own family prints on the buttons the game names on screen.
struct PadNames {
    std::string confirm; // presses a menu button; strikes in play
    std::string back;
    std::string pause;
    std::string strike_trigger;
    std::string slow_trigger;
    bool operator==(const PadNames&) const = default;
};

// Confirm is the face button labelled A (Cross on Sony's pads) and back the one labelled B (Circle),
// wherever the family puts them: east and south on Nintendo's, south and east on Xbox's.
[[nodiscard]] SDL_GamepadButton confirmButton(SDL_GamepadType type);
[[nodiscard]] SDL_GamepadButton backButton(SDL_GamepadType type);
[[nodiscard]] PadNames padNames(SDL_GamepadType type);
