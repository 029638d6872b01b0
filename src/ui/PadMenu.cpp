#include "ui/PadMenu.h"

#include "shell/Gamepad.h"
#include "ui/HUDButton.h"

void PadMenu::setButtons(std::vector<HUDButton*> buttons) {
    clearHighlight();
    buttons_ = std::move(buttons);
}

bool PadMenu::handleEvent(const SDL_Event& event) {
    if (event.type == SDL_EVENT_MOUSE_MOTION) {
        clearHighlight();
        return false;
    }
    switch (padActionOf(event)) {
    case PadAction::UP:
    case PadAction::LEFT:
        step(-1);
        return true;
    case PadAction::DOWN:
    case PadAction::RIGHT:
        step(1);
        return true;
    case PadAction::PRIMARY:
        if (HUDButton* button = getHighlighted()) {
            button->press();
            return true;
        }
        // Nothing highlighted yet: the first press only shows where the highlight starts.
        step(0);
        return !buttons_.empty();
    default:
        return false;
    }
}

void PadMenu::clearHighlight() {
    if (HUDButton* button = getHighlighted()) button->setHighlight(false);
    highlighted_ = -1;
}

HUDButton* PadMenu::getHighlighted() const {
    const bool valid = highlighted_ >= 0 && highlighted_ < static_cast<int>(buttons_.size());
    return valid ? buttons_[static_cast<std::size_t>(highlighted_)] : nullptr;
}

void PadMenu::step(int direction) {
    if (buttons_.empty()) return;
    const int count = static_cast<int>(buttons_.size());
    const int next = highlighted_ < 0 ? 0 : ((highlighted_ + direction) % count + count) % count;
    clearHighlight();
    highlighted_ = next;
    buttons_[static_cast<std::size_t>(highlighted_)]->setHighlight(true);
}
