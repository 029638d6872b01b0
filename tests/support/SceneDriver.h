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
        SDL_GetMouseState(&event.button.x, &event.button.y); // where the pointer is, as SDL reports it
        SDL_PushEvent(&event);
    }
    void pushKey(SDL_Scancode key) {
        SDL_Event event{};
        event.type = SDL_EVENT_KEY_DOWN;
        event.key.scancode = key;
        event.key.key = SDL_GetKeyFromScancode(key, SDL_KMOD_NONE, false);
        event.key.windowID = SDL_GetWindowID(game.getWindow());
        SDL_PushEvent(&event);
    }
    // A finger at a point of the window, as SDL reports one (normalised to the window's size).
    void pushFinger(Uint32 type, SDL_FingerID id, glm::vec2 at) {
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(game.getWindow(), &width, &height);
        SDL_Event event{};
        event.type = type;
        event.tfinger.touchID = 1;
        event.tfinger.fingerID = id;
        event.tfinger.x = at.x / static_cast<float>(width);
        event.tfinger.y = at.y / static_cast<float>(height);
        event.tfinger.windowID = SDL_GetWindowID(game.getWindow());
        SDL_PushEvent(&event);
    }
    // Drops the window's own first events (a dummy window is hidden), which would pause a game.
    static void dropPendingEvents() {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_EVENT_FIRST, SDL_EVENT_LAST);
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
