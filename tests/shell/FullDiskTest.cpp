// Run by tests/e2e/full_disk.sh with the test's folder on a tiny tmpfs; skipped elsewhere.
#include "actors/Player.h"
#include "scenes/SceneMain.h"
#include "scenes/ScoreFile.h"
#include "shell/Preferences.h"
#include "support/SceneDriver.h"
#include "support/TestFiles.h"
#include "ui/HUDButton.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::vector<std::string> logged;

void keepLine(void* /*userdata*/, int /*category*/, SDL_LogPriority /*priority*/, const char* message) {
    logged.emplace_back(message);
}

int countLogged(const std::string& start) {
    return static_cast<int>(std::count_if(logged.begin(), logged.end(),
                                          [&](const std::string& line) { return line.starts_with(start); }));
}

TEST(FullDiskTest, SavesKeepThePreviousFilesWholeAndTheGamePlaysOnSayingItOnce) {
    if (!std::getenv("MOONVALE_FULL_DISK")) GTEST_SKIP() << "needs full_disk.sh's tiny tmpfs";
    Game& game = Game::getInstance();
    Preferences& prefs = *game.getPreferences();
    ASSERT_TRUE(writeScoreFile("assets/score.dat", 500));
    prefs.setVolume(70);
    const std::string settings = readText("assets/settings.ini");
    ASSERT_NE(settings.find("volume=70\n"), std::string::npos);

    { // fill the disk
        std::ofstream filler("filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    SDL_SetLogOutputFunction(keepLine, nullptr);
    auto* main = new SceneMain;
    game.changeScene(main);
    game.setScore(900);
    main->getPlayer()->takeDamage(1000.0f);
    for (int i = 0; i < 400; ++i) { // death, game over and beyond, saving on every frame
        game.handleEvents();
        game.update(1.0f / 60.0f);
    }
    prefs.setVolume(40);
    prefs.setMusicVolume(30);
    SDL_SetLogOutputFunction(SDL_GetDefaultLogOutputFunction(), nullptr);

    EXPECT_FALSE(main->getButtonPause()->getIsActive()); // the game-over screen came
    EXPECT_EQ(readScoreFile("assets/score.dat"), 500);
    EXPECT_EQ(std::filesystem::file_size("assets/score.dat"), 4u);
    EXPECT_EQ(readText("assets/settings.ini"), settings);
    EXPECT_EQ(prefs.getSettings().volume, 40); // in force for this run all the same
    EXPECT_FALSE(std::filesystem::exists("assets/score.dat.tmp"));
    EXPECT_FALSE(std::filesystem::exists("assets/settings.ini.tmp"));
    EXPECT_EQ(countLogged("The high score cannot be saved"), 1);
    EXPECT_EQ(countLogged("Cannot save the settings"), 1);
}

} // namespace
