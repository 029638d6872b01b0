#include "ui/PadMenu.h"

#include "core/Game.h"
#include "ui/HUDButton.h"

#include <cmath>

namespace {
constexpr float kSameRow = 20.0f; // centres closer than this across stand in one row
} // namespace

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
    const PadAction action = menuActionOf(event);
    switch (action) {
    case PadAction::UP:
    case PadAction::DOWN:
    case PadAction::LEFT:
    case PadAction::RIGHT:
        move(action);
        return true;
    case PadAction::PRIMARY:
        if (buttons_.empty()) return false;
        // Nothing lit yet: the first button is where the highlight starts, and it acts at once.
        if (!getHighlighted()) move(PadAction::NONE);
        getHighlighted()->press();
        return true;
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

// By where the buttons stand: up and down go to the nearest button that way, if any; left and right
// along the row, round from its end to its start.
void PadMenu::move(PadAction direction) {
    if (buttons_.empty()) return;
    const int next = highlighted_ < 0 || direction == PadAction::NONE ? 0 : neighbour(direction);
    if (next < 0) return;
    clearHighlight();
    highlighted_ = next;
    buttons_[static_cast<std::size_t>(highlighted_)]->setHighlight(true);
}

int PadMenu::neighbour(PadAction direction) const {
    const glm::vec2 from = buttons_[static_cast<std::size_t>(highlighted_)]->getCentre();
    const bool across = direction == PadAction::LEFT || direction == PadAction::RIGHT;
    const float sign = direction == PadAction::RIGHT || direction == PadAction::DOWN ? 1.0f : -1.0f;
    int best = -1;
    float best_score = 0.0f;
    int wrap = -1; // the row's far end on the other side
    float wrap_along = 0.0f;
    for (int i = 0; i < static_cast<int>(buttons_.size()); ++i) {
        const HUDButton* button = buttons_[static_cast<std::size_t>(i)];
        if (i == highlighted_ || !button->getIsActive()) continue;
        const glm::vec2 offset = button->getCentre() - from;
        const float along = sign * (across ? offset.x : offset.y);
        const float aside = std::abs(across ? offset.y : offset.x);
        if (across && aside > kSameRow) continue;
        if (along > 0.0f && (best < 0 || along + 2.0f * aside < best_score)) {
            best = i;
            best_score = along + 2.0f * aside;
        }
        if (across && along < 0.0f && (wrap < 0 || along < wrap_along)) {
            wrap = i;
            wrap_along = along;
        }
    }
    return best >= 0 ? best : wrap;
}
