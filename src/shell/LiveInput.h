#pragma once
#include "replay/FrameInput.h"

#include <glm/glm.hpp>

class Bindings;
class Devices;

// The frame input from the player's own devices: moves and slow motion held, after the key bindings;
// the pad's or the touch stick's tilt; and the strike an event asked for since the last frame.
class LiveInput {
public:
    // A new game: slow motion off, no strike waiting.
    void begin();
    // A strike asked for at aim on the screen. A frame keeps its first: that is the one that can land,
    // the others meet its cool-down.
    void noteStrike(glm::vec2 aim);
    // The frame's input, read once as the frame's update starts. With slow_toggles, each press of slow
    // motion turns it on or off instead of holding it.
    FrameInput read(const Devices& devices, const Bindings& bindings, bool slow_toggles, float dt,
                    bool paused);

private:
    glm::vec2 aim_ = glm::vec2(0.0f);
    bool has_strike_ = false;
    bool slow_on_ = false;
    bool slow_was_held_ = false;
};
