#include "shell/Bindings.h"

#include "i18n/Translation.h"

#include <array>
#include <utility>

namespace {

struct ActionInfo {
    std::string_view name;
    Message label;
    SDL_Scancode key;
};

constexpr std::array<ActionInfo, ACTION_COUNT> kActions = {{
    {"up", msg("option", "Move up"), SDL_SCANCODE_W},
    {"left", msg("option", "Move left"), SDL_SCANCODE_A},
    {"down", msg("option", "Move down"), SDL_SCANCODE_S},
    {"right", msg("option", "Move right"), SDL_SCANCODE_D},
    // TRANSLATORS: held (or toggled) to slow time down.
    {"slow", msg("option", "Slow motion"), SDL_SCANCODE_LSHIFT},
    {"pause", msg("option", "Pause"), SDL_SCANCODE_ESCAPE},
    // TRANSLATORS: casting the lightning strike at the cursor.
    {"strike", msg("option", "Strike"), SDL_SCANCODE_SPACE},
    // TRANSLATORS: the four "Cursor" actions move the aiming cursor, where the strike lands.
    {"cursor_up", msg("option", "Cursor up"), SDL_SCANCODE_UP},
    {"cursor_left", msg("option", "Cursor left"), SDL_SCANCODE_LEFT},
    {"cursor_down", msg("option", "Cursor down"), SDL_SCANCODE_DOWN},
    {"cursor_right", msg("option", "Cursor right"), SDL_SCANCODE_RIGHT},
}};

const ActionInfo& infoOf(Action action) {
    return kActions[static_cast<std::size_t>(action)];
}

} // namespace

std::string_view actionName(Action action) {
    return infoOf(action).name;
}

std::string actionLabel(Action action) {
    return tr(infoOf(action).label);
}

bool takesMouseButton(Action action) {
    return action == Action::STRIKE || action == Action::SLOW;
}

std::string bindingName(Binding binding) {
    if (binding.mouse_button == SDL_BUTTON_LEFT) return "mouse_left";
    if (binding.mouse_button == SDL_BUTTON_RIGHT) return "mouse_right";
    if (binding.key == SDL_SCANCODE_UNKNOWN) return "none";
    return SDL_GetScancodeName(binding.key);
}

std::optional<Binding> bindingFromName(std::string_view name) {
    if (name == "mouse_left") return Binding{SDL_SCANCODE_UNKNOWN, SDL_BUTTON_LEFT};
    if (name == "mouse_right") return Binding{SDL_SCANCODE_UNKNOWN, SDL_BUTTON_RIGHT};
    if (name == "none") return Binding{};
    const SDL_Scancode key = SDL_GetScancodeFromName(std::string(name).c_str());
    if (key == SDL_SCANCODE_UNKNOWN) return std::nullopt;
    return Binding{key, 0};
}

// The keys that players' languages name in their own words (Leertaste, Échap); SDL names every key in
// English, which stays the name of the others.
constexpr std::array<std::pair<SDL_Scancode, Message>, 8> kKeyNames = {{
    {SDL_SCANCODE_SPACE, msg("key", "Space")},
    {SDL_SCANCODE_LSHIFT, msg("key", "Left Shift")},
    {SDL_SCANCODE_RSHIFT, msg("key", "Right Shift")},
    {SDL_SCANCODE_ESCAPE, msg("key", "Escape")},
    {SDL_SCANCODE_RETURN, msg("key", "Return")},
    {SDL_SCANCODE_BACKSPACE, msg("key", "Backspace")},
    {SDL_SCANCODE_LCTRL, msg("key", "Left Ctrl")},
    {SDL_SCANCODE_RCTRL, msg("key", "Right Ctrl")},
}};

std::string bindingLabel(Binding binding) {
    if (binding.mouse_button == SDL_BUTTON_LEFT) return tr("key", "Left click");
    if (binding.mouse_button == SDL_BUTTON_RIGHT) return tr("key", "Right click");
    if (binding.key == SDL_SCANCODE_UNKNOWN) return tr("key", "(none)");
    for (const auto& [key, name] : kKeyNames) {
        if (key == binding.key) return tr(name);
    }
    return SDL_GetScancodeName(binding.key);
}

Bindings::Bindings() {
    for (std::size_t i = 0; i < ACTION_COUNT; ++i)
        bindings_[i] = defaultFor(static_cast<Action>(i));
}

Binding Bindings::defaultFor(Action action) {
    return {infoOf(action).key, 0};
}

std::optional<Action> Bindings::bind(Action action, Binding binding) {
    const std::optional<Action> holder = actionOf(binding);
    if (holder == action) return std::nullopt;
    if (holder) set(*holder, get(action));
    set(action, binding);
    return holder;
}

std::optional<Action> Bindings::actionOf(Binding binding) const {
    if (binding.isNone()) return std::nullopt;
    for (std::size_t i = 0; i < ACTION_COUNT; ++i) {
        if (bindings_[i] == binding) return static_cast<Action>(i);
    }
    return std::nullopt;
}

bool Bindings::isKey(Action action, SDL_Scancode key) const {
    const Binding binding = get(action);
    return binding.mouse_button == 0 && key != SDL_SCANCODE_UNKNOWN && binding.key == key;
}

bool Bindings::mouseDoes(Uint8 button, Action action) const {
    if (const std::optional<Action> bound = actionOf({SDL_SCANCODE_UNKNOWN, button})) return *bound == action;
    return (button == SDL_BUTTON_LEFT && action == Action::STRIKE) ||
           (button == SDL_BUTTON_RIGHT && action == Action::SLOW);
}

bool Bindings::isHeld(Action action, const bool* keys, SDL_MouseButtonFlags buttons) const {
    const Binding binding = get(action);
    if (binding.mouse_button == 0 && binding.key != SDL_SCANCODE_UNKNOWN && keys[binding.key]) return true;
    for (const Uint8 button : {Uint8{SDL_BUTTON_LEFT}, Uint8{SDL_BUTTON_RIGHT}}) {
        if ((buttons & SDL_BUTTON_MASK(button)) && mouseDoes(button, action)) return true;
    }
    return false;
}

bool Bindings::isPressed(Action action, const SDL_Event& event) const {
    if (event.type == SDL_EVENT_KEY_DOWN) {
        if (event.key.repeat) return false;
        // A key event made by another program may carry the key's symbol alone.
        const Binding binding = get(action);
        if (event.key.scancode == SDL_SCANCODE_UNKNOWN && binding.mouse_button == 0 &&
            binding.key != SDL_SCANCODE_UNKNOWN) {
            return event.key.key == SDL_GetKeyFromScancode(binding.key, SDL_KMOD_NONE, false);
        }
        return isKey(action, event.key.scancode);
    }
    if (event.type == SDL_EVENT_MOUSE_BUTTON_DOWN) return mouseDoes(event.button.button, action);
    return false;
}

std::string Bindings::describe(Action action) const {
    std::string text = bindingLabel(get(action));
    const Binding binding = get(action);
    for (const Uint8 button : {Uint8{SDL_BUTTON_LEFT}, Uint8{SDL_BUTTON_RIGHT}}) {
        if (binding.mouse_button == button || !mouseDoes(button, action)) continue;
        // A strike is a click; slow motion is held.
        const bool left = button == SDL_BUTTON_LEFT;
        const std::string click = action == Action::SLOW
                                      ? (left ? tr("key", "left button") : tr("key", "right button"))
                                      : (left ? tr("key", "left click") : tr("key", "right click"));
        text =
            binding.isNone() ? click : fill(tr("key", "{key} or {click}"), {{"key", text}, {"click", click}});
    }
    return text;
}
