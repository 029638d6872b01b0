#pragma once
#include "core/Game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

// The Game with the keyboard in the test's hands and every sound it asks for written down.
struct GameHarness : ::testing::Test {
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
    int played(const std::string& path) const {
        return static_cast<int>(std::count(sounds.begin(), sounds.end(), path));
    }

    Game& game = Game::getInstance();
    std::array<bool, SDL_SCANCODE_COUNT> keys{};
    std::vector<std::string> sounds;
};
