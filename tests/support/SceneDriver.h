#pragma once
#include "object/Scene.h"
#include "support/GameHarness.h"

// Drives whole frames of the real Game: the pointer is warped in the (dummy) window and clicks are
// queued as SDL events, so they travel the same road as a player's.
struct SceneDriver : GameHarness {
    void pointAt(glm::vec2 p) {
        SDL_WarpMouseInWindow(game.getWindow(), p.x, p.y);
        SDL_PumpEvents();
    }
    void push(SDL_EventType type, Uint8 button) {
        SDL_Event event{};
        event.type = type;
        event.button.button = button;
        event.button.windowID = SDL_GetWindowID(game.getWindow());
        SDL_PushEvent(&event);
    }
    // Moves onto the point, lets the button see the hover, then presses and releases there.
    void clickAt(glm::vec2 p, Uint8 button = SDL_BUTTON_LEFT) {
        pointAt(p);
        game.frame();
        push(SDL_EVENT_MOUSE_BUTTON_DOWN, button);
        push(SDL_EVENT_MOUSE_BUTTON_UP, button);
        game.frame();
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i)
            game.frame();
    }
    Scene* scene() const { return game.getCurrentScene(); }
};
