#pragma once
#include "shell/Gamepad.h"

#include <SDL3/SDL.h>

#include <vector>

class HUDButton;

// What an event means to a menu: the pad's actions, and the same from the keyboard (the cursor keys and
// the arrows move, Enter and the strike key choose, Esc and Backspace go back).
[[nodiscard]] PadAction menuActionOf(const SDL_Event& event);

// Plays buttons with the pad or the keyboard: the D-pad, a flick of the left stick or the cursor keys
// move a highlight to the button that lies that way, south or Enter presses the highlighted one (the
// first, when none is lit yet). The mouse takes over again as soon as it moves.
class PadMenu {
public:
    // Borrowed buttons, children of the scene that owns this menu; the first is where the highlight starts.
    void setButtons(std::vector<HUDButton*> buttons);
    // True when the event was the menu's to use.
    bool handleEvent(const SDL_Event& event);
    void clearHighlight();
    HUDButton* getHighlighted() const;

private:
    // NONE lights the first button.
    void move(PadAction direction);
    // The button that lies that way from the lit one, or -1.
    int neighbour(PadAction direction) const;

    std::vector<HUDButton*> buttons_;
    int highlighted_ = -1; // none until the pad is first used
};
