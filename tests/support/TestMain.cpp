#include "core/Game.h"

#include <gtest/gtest.h>

namespace {

// Every test process gets one headless Game, as main would set it up.
class GameEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_VIDEO_DRIVER, "dummy");
        SDL_SetHint(SDL_HINT_AUDIO_DRIVER, "dummy");
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        ASSERT_TRUE(Game::getInstance().init("Moonvale tests", 1280, 720)) << SDL_GetError();
        Game::getInstance().seed(20261208);
    }
    void TearDown() override { Game::getInstance().clean(); }
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GameEnvironment);
    return RUN_ALL_TESTS();
}
