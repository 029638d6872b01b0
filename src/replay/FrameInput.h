#pragma once
#include <glm/glm.hpp>

// What one frame of play takes from the player, after the key bindings. One source fills it each frame,
// the live devices or a replay played back; the ghost, the weapon and the scene read only this, and the
// recorder writes down exactly this, so a replay cannot see what the game did not.
struct FrameInput {
    float dt = 0.0f; // the frame's length before slow motion, kept to the bit
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
    bool slow = false;                // slow motion in force (however the player's settings make it)
    bool paused = false;              // the world stood still in this frame
    bool strike = false;              // a strike asked for before this frame's update, at aim
    glm::vec2 tilt = glm::vec2(0.0f); // the pad's or the touch stick's
    glm::vec2 aim = glm::vec2(0.0f);  // the cursor on the screen, with a strike

    bool operator==(const FrameInput&) const = default;
};
