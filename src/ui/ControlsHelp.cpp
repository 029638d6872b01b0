#include "ui/ControlsHelp.h"

#include "i18n/Translation.h"

#include <string_view>

namespace {

std::string keys(const Bindings& bindings, Action up, Action left, Action down, Action right) {
    const bool arrows = bindings.get(up) == Binding{SDL_SCANCODE_UP, 0} &&
                        bindings.get(left) == Binding{SDL_SCANCODE_LEFT, 0} &&
                        bindings.get(down) == Binding{SDL_SCANCODE_DOWN, 0} &&
                        bindings.get(right) == Binding{SDL_SCANCODE_RIGHT, 0};
    if (arrows) return tr("controls", "arrows");
    return bindingLabel(bindings.get(up)) + " " + bindingLabel(bindings.get(left)) + " " +
           bindingLabel(bindings.get(down)) + " " + bindingLabel(bindings.get(right));
}

struct Words {
    std::string move, aim, strike, slow, slow_keys, pause;
};

Words wordsFor(const Bindings& bindings, bool slow_toggles, const PadNames* pad) {
    const std::string slow = slow_toggles ? tr("controls", "Slow (on/off)") : tr("controls", "Slow (hold)");
    if (pad) {
        return {tr("controls", "left stick"),
                tr("controls", "right stick"),
                fill(tr("controls", "{button} or {trigger}"),
                     {{"button", pad->confirm}, {"trigger", pad->strike_trigger}}),
                slow,
                pad->slow_trigger,
                pad->pause};
    }
    return {keys(bindings, Action::UP, Action::LEFT, Action::DOWN, Action::RIGHT),
            keys(bindings, Action::CURSOR_UP, Action::CURSOR_LEFT, Action::CURSOR_DOWN, Action::CURSOR_RIGHT),
            bindings.describe(Action::STRIKE),
            slow,
            bindings.describe(Action::SLOW),
            bindings.describe(Action::PAUSE)};
}

} // namespace

std::string controlsLine(const Bindings& bindings, bool slow_toggles, const PadNames* pad) {
    const Words w = wordsFor(bindings, slow_toggles, pad);
    return fill(tr("title line",
                   "Move: {move}   Aim: {aim}   Strike: {strike}   {slow}: {slow_keys}   Pause: {pause}"),
                {{"move", w.move},
                 {"aim", w.aim},
                 {"strike", w.strike},
                 {"slow", w.slow},
                 {"slow_keys", w.slow_keys},
                 {"pause", w.pause}});
}

std::string controlsCard(const Bindings& bindings, bool slow_toggles, const PadNames* pad) {
    const Words w = wordsFor(bindings, slow_toggles, pad);
    const std::string aim = pad ? w.aim : fill(tr("controls", "the mouse or {keys}"), {{"keys", w.aim}});
    return fill(tr("card",
                   "How to play\n\nMove the ghost: {move}\nAim: {aim}\nStrike at the cursor: {strike} "
                   "(costs mana)\n{slow}: {slow_keys}\nPause: {pause}    Options: on the title screen "
                   "and when paused\n\nAny key, click or button closes this card"),
                {{"move", w.move},
                 {"aim", aim},
                 {"strike", w.strike},
                 {"slow", w.slow},
                 {"slow_keys", w.slow_keys},
                 {"pause", w.pause}});
}

std::string optionsHint(const PadNames* pad) {
    if (!pad) return tr("options line", "Up/Down: choose   Left/Right: change   Enter: pick   Esc: back");
    return fill(
        tr("options line", "D-pad up/down: choose   left/right: change   {confirm}: pick   {back}: back"),
        {{"confirm", pad->confirm}, {"back", pad->back}});
}

std::string touchControlsLine(bool slow_toggles) {
    return slow_toggles
               ? tr("title line", "Move: drag a thumb on the left   Strike: tap the spot   Slow: tap the "
                                  "hourglass   Pause: the button at the top")
               : tr("title line", "Move: drag a thumb on the left   Strike: tap the spot   Slow: hold "
                                  "the hourglass   Pause: the button at the top");
}

std::string inTwoLines(const std::string& line) {
    constexpr std::string_view kGap = "   ";
    std::size_t best = std::string::npos;
    for (std::size_t at = line.find(kGap); at != std::string::npos; at = line.find(kGap, at + kGap.size())) {
        const auto off = [&line](std::size_t i) {
            const std::size_t half = line.size() / 2;
            return i > half ? i - half : half - i;
        };
        if (best == std::string::npos || off(at) < off(best)) best = at;
    }
    if (best == std::string::npos) return line;
    return line.substr(0, best) + "\n" + line.substr(best + kGap.size());
}

std::string touchControlsCard(bool slow_toggles) {
    return slow_toggles
               ? tr("card", "How to play\n\nMove the ghost: put a thumb on the left and drag it\nStrike: "
                            "tap where the lightning should strike (costs mana)\nSlow motion: tap the "
                            "hourglass, and again to end it\nPause: the button at the top right    "
                            "Options: on the title screen and when paused\n\nAny tap closes this card")
               : tr("card", "How to play\n\nMove the ghost: put a thumb on the left and drag it\nStrike: "
                            "tap where the lightning should strike (costs mana)\nSlow motion: hold the "
                            "hourglass\nPause: the button at the top right    Options: on the title "
                            "screen and when paused\n\nAny tap closes this card");
}
