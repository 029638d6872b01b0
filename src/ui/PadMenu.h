#pragma once
#include <SDL3/SDL.h>

#include <vector>

class HUDButton;

// Plays a row of buttons with the pad: the D-pad or a flick of the left stick moves a highlight
// along them, south presses the highlighted one. The mouse takes over again as soon as it moves.
class PadMenu {
public:
    // Borrowed buttons, children of the scene that owns this menu, in the order the highlight visits.
    void setButtons(std::vector<HUDButton*> buttons);
    // True when the event was the menu's to use.
    bool handleEvent(const SDL_Event& event);
    void clearHighlight();
    HUDButton* getHighlighted() const;

private:
    void step(int direction);

    std::vector<HUDButton*> buttons_;
    int highlighted_ = -1; // none until the pad is first used
};
