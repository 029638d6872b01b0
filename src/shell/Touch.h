#pragma once
#include <SDL3/SDL.h>
#include <glm/glm.hpp>

#include <optional>
#include <vector>

// What the game is showing, as far as fingers care: menus take taps as clicks, play has the stick, the
// strike taps and the two buttons, and a paused game keeps its pause button to resume.
enum class TouchMode { MENU, PAUSED, PLAY };

// Where the touch controls are, in the game's screen coordinates.
struct TouchLayout {
    float stick_right = 0.0f;               // a thumb landing left of this steers
    float stick_radius = 1.0f;              // full tilt this far from where the thumb is anchored
    glm::vec2 stick_home = glm::vec2(0.0f); // where the stick is drawn while no thumb is on it
    SDL_FRect slow{};
    SDL_FRect pause{};
    float unit = 1.0f; // game pixels per CSS pixel (or window pixel, on a desktop)
};

// What a finger asks of the game: a click's press or release at a point (in menus), a strike at a
// point, or the pause.
struct TouchAction {
    enum Kind { NONE, PRESS, RELEASE, STRIKE, PAUSE };
    Kind kind = NONE;
    glm::vec2 point = glm::vec2(0.0f);
};

// The fingers on the screen, each kept to the part it was given when it landed (a thumb steering from
// the left goes on steering wherever it slides), so that one thumb moves while the other strikes.
class Touch {
public:
    static constexpr float DEAD_ZONE = 0.2f;
    // In the window's units, which a browser counts in CSS pixels: a thumb's size whatever the scale.
    static constexpr float BUTTON_SIZE = 56.0f;
    static constexpr float STICK_RADIUS = 56.0f;
    static constexpr float STICK_SHARE = 0.4f; // of the screen's width, from the left

    // The controls for a screen of SCREEN game pixels shown at SCALE window units per game pixel, kept
    // inside SAFE (the part no notch or rounded corner covers, in game pixels).
    [[nodiscard]] static TouchLayout layoutFor(glm::vec2 screen, float scale, SDL_FRect safe);

    // Type is SDL_EVENT_FINGER_DOWN, _MOTION, _UP or _CANCELED; point is in game pixels.
    TouchAction handleFinger(Uint32 type, SDL_FingerID id, glm::vec2 point, TouchMode mode);
    void setLayout(const TouchLayout& layout) { layout_ = layout; }
    const TouchLayout& getLayout() const { return layout_; }

    // The stick's tilt, each axis in -1..1, with the pad's dead zone; at rest without a thumb on it.
    glm::vec2 getMove() const;
    bool isSlowHeld() const;
    // Where the steering thumb is anchored and where it is now.
    std::optional<std::pair<glm::vec2, glm::vec2>> getStick() const;

private:
    enum class Role { STICK, SLOW, PAUSE, STRIKE, PRESS };
    struct Finger {
        SDL_FingerID id = 0;
        Role role = Role::STRIKE;
        glm::vec2 anchor = glm::vec2(0.0f);
        glm::vec2 point = glm::vec2(0.0f);
    };

    TouchAction land(SDL_FingerID id, glm::vec2 point, TouchMode mode);
    const Finger* find(Role role) const;
    std::vector<Finger>::iterator findId(SDL_FingerID id);

    TouchLayout layout_;
    std::vector<Finger> fingers_;
};
