#pragma once
#include <SDL3/SDL.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

// What a player can put on a key of their own.
enum class Action {
    UP,
    LEFT,
    DOWN,
    RIGHT,
    SLOW,
    PAUSE,
    STRIKE,
    CURSOR_UP,
    CURSOR_LEFT,
    CURSOR_DOWN,
    CURSOR_RIGHT,
    COUNT
};
constexpr std::size_t ACTION_COUNT = static_cast<std::size_t>(Action::COUNT);

// One key, or one of the two mouse buttons (those only for strike and slow motion), or nothing.
struct Binding {
    SDL_Scancode key = SDL_SCANCODE_UNKNOWN;
    Uint8 mouse_button = 0; // SDL_BUTTON_LEFT or SDL_BUTTON_RIGHT; then key is unused

    bool isNone() const { return key == SDL_SCANCODE_UNKNOWN && mouse_button == 0; }
    bool operator==(const Binding&) const = default;
};

// The settings file's name for an action ("up", "cursor_left") and the words a player reads.
std::string_view actionName(Action action);
std::string actionLabel(Action action);
bool takesMouseButton(Action action);
// "W", "Left Shift", "mouse_left", "none"; and back, nullopt for a name SDL does not know.
std::string bindingName(Binding binding);
std::optional<Binding> bindingFromName(std::string_view name);
// What a player reads: the key's name, "Left click", "Right click".
std::string bindingLabel(Binding binding);

// Every action's binding. No two actions share one. The left button strikes and the right one slows time
// unless one of them is bound to an action of its own.
class Bindings {
public:
    Bindings();

    Binding get(Action action) const { return bindings_[static_cast<std::size_t>(action)]; }
    static Binding defaultFor(Action action);
    // Puts binding on action; an action that had it takes action's old binding in exchange and is
    // returned.
    std::optional<Action> bind(Action action, Binding binding);
    // Sets a binding without the exchange (the file's reader resolves clashes itself).
    void set(Action action, Binding binding) { bindings_[static_cast<std::size_t>(action)] = binding; }
    std::optional<Action> actionOf(Binding binding) const;

    bool isKey(Action action, SDL_Scancode key) const;
    // What a mouse button does now, with the default roles of the two buttons.
    bool mouseDoes(Uint8 button, Action action) const;
    // Held now, by its key or its mouse button.
    bool isHeld(Action action, const bool* keys, SDL_MouseButtonFlags buttons) const;
    // Pressed in this event (a key without repeat, or a mouse button going down).
    bool isPressed(Action action, const SDL_Event& event) const;
    // The label, with the mouse button that does the same by default: "Space or left click".
    std::string describe(Action action) const;

    bool operator==(const Bindings&) const = default;

private:
    std::array<Binding, ACTION_COUNT> bindings_;
};
