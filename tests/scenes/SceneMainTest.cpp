#include "scenes/SceneMain.h"

#include "actors/Player.h"
#include "components/Sprite.h"
#include "components/Stats.h"
#include "components/TextLabel.h"
#include "replay/RunKeeper.h"
#include "scenes/SceneTitle.h"
#include "scenes/ScoreFile.h"
#include "support/SceneDriver.h"
#include "support/TestFiles.h"
#include "ui/HUDButton.h"
#include "ui/HUDText.h"
#include "ui/UIMouse.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

struct SceneMainTest : SceneDriver {
    void SetUp() override {
        SceneDriver::SetUp();
        std::filesystem::remove("assets/score.dat");
        main = new SceneMain;
        game.changeScene(main);
    }
    void update(float dt = 1.0f / 60.0f, SDL_MouseButtonFlags buttons = 0) {
        game.setMouseState({10.0f, 400.0f}, buttons);
        main->update(dt);
    }
    // Updates until the game-over screen shows; returns the scene time that took after the death.
    float timeToGameOver(SDL_MouseButtonFlags buttons = 0) {
        main->getPlayer()->takeDamage(1000.0f);
        update(); // the player dies in this update
        float t = 0.0f;
        while (main->getButtonPause()->getIsActive() && t < 20.0f) {
            update(1.0f / 60.0f, buttons);
            t += 1.0f / 60.0f;
        }
        return t;
    }
    SceneMain* main = nullptr;
};

TEST_F(SceneMainTest, BuildsTheWorldAndTheInterface) {
    EXPECT_EQ(main->getWorldSize(), glm::vec2(3840.0f, 2160.0f));
    EXPECT_EQ(main->getCameraPosition(), glm::vec2(1280.0f, 720.0f));
    EXPECT_EQ(main->getPlayer()->getPosition(), glm::vec2(1920.0f, 1080.0f));
    EXPECT_EQ(main->getButtonPause()->getRenderPosition(), glm::vec2(1050.0f, 690.0f));
    EXPECT_EQ(main->getButtonRestart()->getRenderPosition(), glm::vec2(1140.0f, 690.0f));
    EXPECT_EQ(main->getButtonBack()->getRenderPosition(), glm::vec2(1230.0f, 690.0f));
    EXPECT_EQ(main->getScoreText()->getTextLabel()->getText(), "Score: 0");
    EXPECT_EQ(main->getChildrenScreen().back(), static_cast<ObjectScreen*>(main->getMouse())); // drawn last
    EXPECT_TRUE(MIX_TrackPlaying(game.getMusicTrack()));
}

TEST_F(SceneMainTest, ScoreBoxFollowsTheScore) {
    game.addScore(30);
    update();
    EXPECT_EQ(main->getScoreText()->getTextLabel()->getText(), "Score: 30");
}

TEST_F(SceneMainTest, RightButtonRunsTheWholeSceneAtFourTenths) {
    keys[SDL_SCANCODE_D] = true;
    const float x0 = main->getPlayer()->getPosition().x;
    for (int i = 0; i < 30; ++i)
        update();
    const float normal = main->getPlayer()->getPosition().x - x0;
    const float x1 = main->getPlayer()->getPosition().x;
    for (int i = 0; i < 30; ++i)
        update(1.0f / 60.0f, SDL_BUTTON_RMASK);
    EXPECT_NEAR((main->getPlayer()->getPosition().x - x1) / normal, 0.4f, 0.01f);
}

TEST_F(SceneMainTest, GameOverComesThreeSecondsOfSceneTimeAfterDeath) {
    EXPECT_NEAR(timeToGameOver(), 3.0f, 0.05f);
    EXPECT_TRUE(main->getIsPause());
    const glm::vec2 size = glm::vec2(72.0f, 24.0f); // the unscaled button
    EXPECT_EQ(main->getButtonRestart()->getRenderPosition(), glm::vec2(440.0f, 360.0f));
    EXPECT_EQ(main->getButtonBack()->getRenderPosition(), glm::vec2(840.0f, 360.0f));
    EXPECT_EQ(main->getButtonRestart()->getSpriteNormal()->getSize(), size * 4.0f);
    EXPECT_EQ(main->getButtonBack()->getSpriteNormal()->getOffset(), -size / 2.0f); // grows right and down
    EXPECT_TRUE(MIX_TrackPlaying(game.getMusicTrack()));
}

TEST_F(SceneMainTest, SlowMotionStretchesTheCountdown) {
    EXPECT_NEAR(timeToGameOver(SDL_BUTTON_RMASK), 7.5f, 0.05f);
}

TEST_F(SceneMainTest, PausingDuringTheCountdownPostponesIt) {
    main->getPlayer()->takeDamage(1000.0f);
    update();
    for (int i = 0; i < 60; ++i)
        update();
    main->pause();
    for (int i = 0; i < 600; ++i)
        update();
    EXPECT_TRUE(main->getButtonPause()->getIsActive());
    main->resume();
    float t = 0.0f;
    while (main->getButtonPause()->getIsActive() && t < 5.0f) {
        update();
        t += 1.0f / 60.0f;
    }
    EXPECT_NEAR(t, 2.0f, 0.05f);
}

TEST_F(SceneMainTest, BestScoreIsOnDiskAsSoonAsThePlayerDies) {
    game.setScore(50);
    update();
    EXPECT_FALSE(std::filesystem::exists("assets/score.dat"));
    main->getPlayer()->takeDamage(1000.0f);
    update();
    update();
    EXPECT_EQ(readScoreFile("assets/score.dat"), 50);
}

TEST_F(SceneMainTest, PauseButtonTogglesTheWorld) {
    clickAt({1050.0f, 690.0f});
    EXPECT_TRUE(main->getIsPause());
    const glm::vec2 where = main->getPlayer()->getPosition();
    keys[SDL_SCANCODE_D] = true;
    frames(10);
    EXPECT_EQ(main->getPlayer()->getPosition(), where);
    clickAt({1050.0f, 690.0f});
    EXPECT_FALSE(main->getIsPause());
}

TEST_F(SceneMainTest, BackSavesResetsTheScoreAndReturnsToTheTitleEvenWhilePaused) {
    game.setScore(50);
    main->pause();
    clickAt({1230.0f, 690.0f});
    ASSERT_NE(dynamic_cast<SceneTitle*>(scene()), nullptr);
    EXPECT_EQ(game.getScore(), 0);
    std::ifstream file("assets/score.dat", std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(file)), {}), std::string("\x32\x00\x00\x00", 4));
    EXPECT_EQ(game.getHighScore(), 50); // read back by the title
}

TEST_F(SceneMainTest, DrawsTheStarsTheGridAndTheWorldsFrame) {
    main->getPlayer()->setPosition({100.0f, 100.0f}); // the camera goes to the world's corner
    update();
    ASSERT_EQ(main->getCameraPosition(), glm::vec2(-30.0f));
    SDL_Renderer* renderer = game.getRenderer();
    SDL_RenderClear(renderer);
    main->render();
    const SDL_Color frame = readPixel(renderer, 28, 400); // the white frame, 5 px outside the world
    EXPECT_EQ(frame.r + frame.g + frame.b, 3 * 255);
    EXPECT_TRUE(isBlack(readPixel(renderer, 24, 400)));
    const SDL_Color grid = readPixel(renderer, 30 + 80 * 5, 401);
    EXPECT_NEAR(grid.r, 128, 2);
    EXPECT_EQ(grid.r, grid.b);
    // Stars between the grid lines, in a stretch with no sprites or interface.
    EXPECT_GT(countLit(renderer, {511, 111, 78, 78}) + countLit(renderer, {271, 431, 78, 78}), 0);
}

TEST_F(SceneMainTest, RestartStartsAFreshUnpausedGame) {
    game.setScore(20);
    main->pause();
    clickAt({1140.0f, 690.0f});
    auto* fresh = dynamic_cast<SceneMain*>(scene());
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh, main);
    EXPECT_FALSE(fresh->getIsPause());
    EXPECT_EQ(readScoreFile("assets/score.dat"), 20);
    frames(1);
    EXPECT_EQ(fresh->getScoreText()->getTextLabel()->getText(), "Score: 0");
}

TEST_F(SceneMainTest, TheRunIsKeptAsItPausesAndEveryFiveSecondsOfPlayAndGoesWithRestart) {
    const auto kept_frames = [this] {
        std::variant<std::monostate, KeptRun, std::string> kept = game.getRunKeeper().read();
        return std::holds_alternative<KeptRun>(kept) ? std::get<KeptRun>(kept).replay.frame_count : 0u;
    };
    game.getRunKeeper().forget();
    if (main->getControlsCard()) {
        pushKey(SDL_SCANCODE_X);
        game.handleEvents();
    }
    for (int i = 0; i < 60; ++i)
        update();
    EXPECT_EQ(kept_frames(), 0u);
    main->pause();
    update();
    EXPECT_EQ(kept_frames(), 61u);
    for (int i = 0; i < 60; ++i)
        update(); // paused: no play to keep
    main->resume();
    for (int i = 0; i < 302; ++i)
        update();
    EXPECT_GE(kept_frames(), 420u);
    EXPECT_LE(kept_frames(), 422u);
    clickAt({1140.0f, 690.0f});
    ASSERT_NE(scene(), main);
    EXPECT_EQ(kept_frames(), 0u);
}

TEST_F(SceneMainTest, EnlargedGameOverButtonsAreClickable) {
    timeToGameOver();
    // Inside the enlarged back button but outside where the small one was.
    clickAt({840.0f - 36.0f + 200.0f, 360.0f - 12.0f + 60.0f});
    EXPECT_NE(dynamic_cast<SceneTitle*>(scene()), nullptr);
}

} // namespace

namespace {

// A score that cannot be saved (here: its folder is missing) is retried every frame after a death,
// and said once, not every frame.
TEST_F(SceneMainTest, AScoreThatCannotBeSavedIsSaidOnce) {
    static int said = 0;
    SDL_LogOutputFunction previous = nullptr;
    void* previous_data = nullptr;
    SDL_GetLogOutputFunction(&previous, &previous_data);
    SDL_SetLogOutputFunction(
        [](void*, int, SDL_LogPriority, const char* message) {
            said += std::string(message).find("cannot be saved") != std::string::npos ? 1 : 0;
        },
        nullptr);
    for (int i = 0; i < 3; ++i)
        main->saveData("no-such-folder/score.dat");
    SDL_SetLogOutputFunction(previous, previous_data);
    EXPECT_EQ(said, 1);
}

} // namespace
