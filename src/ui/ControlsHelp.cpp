#include "ui/ControlsHelp.h"

namespace {

std::string keys(const Bindings& bindings, Action up, Action left, Action down, Action right,
                 const std::string& arrows_name) {
    const bool arrows = bindings.get(up) == Binding{SDL_SCANCODE_UP, 0} &&
                        bindings.get(left) == Binding{SDL_SCANCODE_LEFT, 0} &&
                        bindings.get(down) == Binding{SDL_SCANCODE_DOWN, 0} &&
                        bindings.get(right) == Binding{SDL_SCANCODE_RIGHT, 0};
    if (arrows) return arrows_name;
    return bindingLabel(bindings.get(up)) + " " + bindingLabel(bindings.get(left)) + " " +
           bindingLabel(bindings.get(down)) + " " + bindingLabel(bindings.get(right));
}

struct Words {
    std::string move, aim, strike, slow, pause;
};

Words wordsFor(const Bindings& bindings, bool slow_toggles, const PadNames* pad) {
    const std::string slow = slow_toggles ? "Slow (on/off)" : "Slow (hold)";
    if (pad) {
        return {"left stick", "right stick", pad->confirm + " or " + pad->strike_trigger,
                slow + ": " + pad->slow_trigger, pad->pause};
    }
    return {keys(bindings, Action::UP, Action::LEFT, Action::DOWN, Action::RIGHT, "arrows"),
            keys(bindings, Action::CURSOR_UP, Action::CURSOR_LEFT, Action::CURSOR_DOWN, Action::CURSOR_RIGHT,
                 "arrows"),
            bindings.describe(Action::STRIKE), slow + ": " + bindings.describe(Action::SLOW),
            bindings.describe(Action::PAUSE)};
}

} // namespace

std::string controlsLine(const Bindings& bindings, bool slow_toggles, const PadNames* pad) {
    const Words w = wordsFor(bindings, slow_toggles, pad);
    return "Move: " + w.move + "   Aim: " + w.aim + "   Strike: " + w.strike + "   " + w.slow +
           "   Pause: " + w.pause;
}

std::string controlsCard(const Bindings& bindings, bool slow_toggles, const PadNames* pad) {
    const Words w = wordsFor(bindings, slow_toggles, pad);
    const std::string aim = pad ? w.aim : "the mouse or " + w.aim;
    return "How to play\n\nMove the ghost: " + w.move + "\nAim: " + aim +
           "\nStrike at the cursor: " + w.strike + " (costs mana)\n" + w.slow + "\nPause: " + w.pause +
           "    Options: on the title and when paused" + "\n\nAny key, click or button closes this card";
}

std::string optionsHint(const PadNames* pad) {
    if (!pad) return "Up/Down: choose   Left/Right: change   Enter: pick   Esc: back";
    return "D-pad up/down: choose   left/right: change   " + pad->confirm + ": pick   " + pad->back +
           ": back";
}

std::string touchControlsLine(bool slow_toggles) {
    return std::string("Move: drag a thumb on the left   Strike: tap the spot   Slow: ") +
           (slow_toggles ? "tap" : "hold") + " the hourglass   Pause: the button at the top";
}

std::string touchControlsCard(bool slow_toggles) {
    return std::string("How to play\n\nMove the ghost: put a thumb on the left and drag it\n") +
           "Strike: tap where the thunder should fall (costs mana)\nSlow motion: " +
           (slow_toggles ? "tap the hourglass, and again to end it" : "hold the hourglass") +
           "\nPause: the button at the top right    Options: on the title and when paused" +
           "\n\nAny tap closes this card";
}
