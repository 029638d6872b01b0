#include "core/Game.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;

// Tests run in parallel and the game writes assets/score.dat and settings.ini: each test process gets a
// folder of its own whose assets/ links to the generated files, so no two tests share a score file.
class IsolatedAssets {
public:
    IsolatedAssets() {
        const fs::path built = fs::current_path() / "assets";
        dir_ = fs::temp_directory_path() / ("moonvale-run-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_ / "assets");
        if (fs::exists(built)) {
            for (const auto& entry : fs::directory_iterator(built)) {
                if (entry.path().filename() == "score.dat" || entry.path().filename() == "settings.ini")
                    continue;
                fs::create_symlink(entry.path(), dir_ / "assets" / entry.path().filename());
            }
        }
        // A player who has closed the first game's card of controls; the tests that want it remove this.
        std::ofstream(dir_ / "assets" / "settings.ini") << "controls_seen=true\n";
        fs::current_path(dir_);
    }
    ~IsolatedAssets() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

private:
    fs::path dir_;
};

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
    const IsolatedAssets assets;
    ::testing::AddGlobalTestEnvironment(new GameEnvironment);
    return RUN_ALL_TESTS();
}
