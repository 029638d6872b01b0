#include "ui/PadMenu.h"

#include "core/Game.h"
#include "ui/HUDButton.h"

PadAction menuActionOf(const SDL_Event& event) {
    const PadAction pad = padActionOf(event);
    if (pad != PadAction::NONE || event.type != SDL_EVENT_KEY_DOWN) return pad;
    const Bindings& bindings = Game::getInstance().getBindings();
    const SDL_Scancode key = event.key.scancode;
    const auto is = [&](Action action, SDL_Scancode arrow) {
        return key == arrow || bindings.isKey(action, key);
    };
    // Held, the keys that move step again; the others act once per press.
    if (is(Action::CURSOR_UP, SDL_SCANCODE_UP)) return PadAction::UP;
    if (is(Action::CURSOR_DOWN, SDL_SCANCODE_DOWN)) return PadAction::DOWN;
    if (is(Action::CURSOR_LEFT, SDL_SCANCODE_LEFT)) return PadAction::LEFT;
    if (is(Action::CURSOR_RIGHT, SDL_SCANCODE_RIGHT)) return PadAction::RIGHT;
    if (event.key.repeat) return PadAction::NONE;
    if (is(Action::STRIKE, SDL_SCANCODE_RETURN) || key == SDL_SCANCODE_KP_ENTER) return PadAction::PRIMARY;
    if (key == SDL_SCANCODE_ESCAPE || key == SDL_SCANCODE_BACKSPACE) return PadAction::BACK;
    return PadAction::NONE;
}

void PadMenu::setButtons(std::vector<HUDButton*> buttons) {
    clearHighlight();
    buttons_ = std::move(buttons);
}

bool PadMenu::handleEvent(const SDL_Event& event) {
    if (event.type == SDL_EVENT_MOUSE_MOTION) {
        clearHighlight();
        return false;
    }
    switch (menuActionOf(event)) {
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
