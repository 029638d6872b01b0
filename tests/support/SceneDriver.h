#pragma once
#include "core/Game.h"
#include "object/Scene.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

// Drives whole frames of the real Game: the pointer is warped in the (dummy) window and clicks are
// queued as SDL events, so they travel the same road as a player's.
struct SceneDriver : ::testing::Test {
    void SetUp() override {
        game.setKeyboardOverride(keys.data());
        game.setSoundListener([this](const std::string& path) { sounds.push_back(path); });
        game.setScore(0);
        game.setHighScore(0);
    }
    void TearDown() override {
        game.setKeyboardOverride(nullptr);
        game.setSoundListener(nullptr);
    }
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
        for (int i = 0; i < n; ++i) game.frame();
    }
    Scene* scene() const { return game.getCurrentScene(); }
    int played(const std::string& path) const {
        int n = 0;
        for (const auto& s : sounds) n += s == path;
        return n;
    }

    Game& game = Game::getInstance();
    std::array<bool, SDL_SCANCODE_COUNT> keys{};
    std::vector<std::string> sounds;
};
