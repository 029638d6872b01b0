#include "core/Game.h"

#include "components/Texture.h"
#include "support/Probe.h"

#include <gtest/gtest.h>

namespace {

constexpr Uint64 kBudget = 16'666'666;

// Start-up leaves window events queued; a test that counts events starts from none.
void drainEvents() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_EVENT_FIRST, SDL_EVENT_LAST);
}

TEST(GameTest, PacingSleepsOutAFastFrameAndHandsOnTheBudget) {
    const FramePace fast = paceFrame(4'000'000, kBudget);
    EXPECT_EQ(fast.sleep_ns, kBudget - 4'000'000);
    EXPECT_FLOAT_EQ(fast.dt, 0.016666666f);
    EXPECT_FLOAT_EQ(paceFrame(0, kBudget).dt, fast.dt); // whatever the real time was
}

TEST(GameTest, PacingHandsASlowFrameItsRealTimeUnclamped) {
    EXPECT_EQ(paceFrame(40'000'000, kBudget).sleep_ns, 0u);
    EXPECT_FLOAT_EQ(paceFrame(40'000'000, kBudget).dt, 0.04f);
    EXPECT_FLOAT_EQ(paceFrame(kBudget, kBudget).dt, 0.016666666f); // exactly on budget: no sleep
    EXPECT_EQ(paceFrame(kBudget, kBudget).sleep_ns, 0u);
    EXPECT_FLOAT_EQ(paceFrame(2'000'000'000, kBudget).dt, 2.0f);
}

TEST(GameTest, BudgetIsWholeNanosecondsAtSixtyFps) {
    EXPECT_EQ(Game::getInstance().getFrameDelay(), kBudget);
}

TEST(GameTest, FirstUpdateGetsZeroThenTheBudget) {
    Game& game = Game::getInstance();
    auto log = std::make_shared<ProbeLog>();
    game.changeScene(new ProbeScene(log));
    game.frame();
    EXPECT_EQ(log->last_dt, 0.0f);
    game.frame();
    EXPECT_FLOAT_EQ(log->last_dt, 0.016666666f); // a test frame is far under budget
}

// A scene that asks for another during its update, as the game's buttons do.
class SwitchingScene : public ProbeScene {
public:
    SwitchingScene(std::shared_ptr<ProbeLog> log, Scene* next) : ProbeScene(std::move(log)), next_(next) {}
    void update(float dt) override {
        ProbeScene::update(dt);
        if (next_) game_.safeChangeScene(std::exchange(next_, nullptr));
    }

private:
    Scene* next_;
};

TEST(GameTest, SceneSwitchTakesEffectAfterTheFrameIsRendered) {
    Game& game = Game::getInstance();
    auto old_log = std::make_shared<ProbeLog>();
    auto new_log = std::make_shared<ProbeLog>();
    auto* next = new ProbeScene(new_log);
    game.changeScene(new SwitchingScene(old_log, next));
    game.frame();
    EXPECT_EQ(old_log->renders, 1); // the old scene still drew this frame
    EXPECT_EQ(old_log->cleans, 1);
    EXPECT_TRUE(old_log->deleted);
    EXPECT_EQ(new_log->inits, 1); // before the next frame's events
    EXPECT_EQ(new_log->updates, 0);
    EXPECT_EQ(game.getCurrentScene(), next);
    EXPECT_EQ(game.getNextScene(), nullptr);
}

TEST(GameTest, SecondPendingSceneReplacesTheFirstWithoutLeakingIt) {
    Game& game = Game::getInstance();
    auto first = std::make_shared<ProbeLog>();
    auto second = std::make_shared<ProbeLog>();
    auto* second_scene = new ProbeScene(second);
    game.safeChangeScene(new ProbeScene(first));
    game.safeChangeScene(second_scene);
    EXPECT_TRUE(first->deleted);
    EXPECT_EQ(first->inits, 0);
    game.safeChangeScene(second_scene); // the same scene again is not a replacement
    EXPECT_FALSE(second->deleted);
    game.frame();
    EXPECT_EQ(game.getCurrentScene(), second_scene);
    EXPECT_EQ(second->inits, 1);
}

class QuittingScene : public ProbeScene {
public:
    using ProbeScene::ProbeScene;
    void update(float dt) override {
        ProbeScene::update(dt);
        game_.quit();
    }
};

TEST(GameTest, QuitEndsTheLoopAfterTheCurrentFrame) {
    Game& game = Game::getInstance();
    auto log = std::make_shared<ProbeLog>();
    auto next_log = std::make_shared<ProbeLog>();
    game.changeScene(new QuittingScene(log));
    game.safeChangeScene(new ProbeScene(next_log));
    game.run();
    EXPECT_EQ(log->updates, 1);
    EXPECT_EQ(log->renders, 1);    // the frame completed
    EXPECT_EQ(next_log->inits, 1); // and so did its pending switch
    EXPECT_FALSE(game.getIsRunning());
    game.setRunning(true);
}

TEST(GameTest, WindowCloseEndsTheLoopAndIsNotForwarded) {
    Game& game = Game::getInstance();
    auto log = std::make_shared<ProbeLog>();
    auto* scene = new ProbeScene(log);
    game.changeScene(scene);
    auto probe_log = std::make_shared<ProbeLog>();
    auto* probe = new Probe(probe_log);
    scene->addChild(probe);
    drainEvents();
    SDL_Event quit{};
    quit.type = SDL_EVENT_QUIT;
    SDL_PushEvent(&quit);
    game.run();
    EXPECT_EQ(probe_log->events, 0);
    EXPECT_EQ(log->renders, 1);
    game.setRunning(true);
}

TEST(GameTest, OtherEventsReachTheScene) {
    Game& game = Game::getInstance();
    auto log = std::make_shared<ProbeLog>();
    game.changeScene(new ProbeScene(log));
    drainEvents();
    SDL_Event key{};
    key.type = SDL_EVENT_KEY_DOWN;
    SDL_PushEvent(&key);
    game.handleEvents();
    EXPECT_EQ(log->events, 1);
}

TEST(GameTest, ScoreRaisesTheHighScoreOnlyWhenStrictlyGreater) {
    Game& game = Game::getInstance();
    game.setHighScore(5);
    game.setScore(5);
    EXPECT_EQ(game.getHighScore(), 5);
    game.setScore(6);
    EXPECT_EQ(game.getHighScore(), 6);
    game.setScore(0);
    game.addScore(10);
    game.addScore(10);
    EXPECT_EQ(game.getScore(), 20);
    EXPECT_EQ(game.getHighScore(), 20);
    game.setHighScore(3); // loading from disk may lower it
    EXPECT_EQ(game.getHighScore(), 3);
}

TEST(GameTest, ChangingSceneCleansAndDeletesTheWholeOldTree) {
    Game& game = Game::getInstance();
    auto* scene = installWorldScene();
    auto plain = std::make_shared<ProbeLog>();
    auto world = std::make_shared<ProbeLog>();
    auto screen = std::make_shared<ProbeLog>();
    auto grandchild = std::make_shared<ProbeLog>();
    auto queued = std::make_shared<ProbeLog>();
    auto* world_probe = new ProbeWorld(world, ObjectType::OBJECT_WORLD);
    world_probe->init();
    world_probe->addChild(new Probe(grandchild));
    auto* screen_probe = new ProbeScreen(screen, ObjectType::OBJECT_SCREEN);
    screen_probe->init();
    scene->addChild(new Probe(plain));
    scene->addChild(world_probe);
    scene->addChild(screen_probe);
    scene->safeAddChild(new Probe(queued)); // never attached
    game.changeScene(new WorldScene);
    for (const auto& log : {plain, world, screen, grandchild, queued}) {
        EXPECT_EQ(log->cleans, 1);
        EXPECT_TRUE(log->deleted);
    }
}

// A hundred trips to a fullscreen size and back, a picture drawn across the black bars' edge each time:
// it is still drawn. SDL 3.4's software renderer loses (and leaks: the sanitized build's leak check sees
// it) the pixels of a picture drawn 1:1 before and then scaled across the bars.
TEST(GameTest, FullscreenRoundTripsKeepEveryPicture) {
    Game& game = Game::getInstance();
    SDL_Surface* red = SDL_CreateSurface(64, 64, SDL_PIXELFORMAT_ARGB8888);
    SDL_FillSurfaceRect(red, nullptr, 0xffff0000);
    Texture sprite;
    sprite.texture = SDL_CreateTextureFromSurface(game.getRenderer(), red);
    sprite.src_rect = {0.0f, 0.0f, 64.0f, 64.0f};
    SDL_DestroySurface(red);
    for (int i = 0; i <= 100; ++i) {
        // The dummy video driver has no fullscreen: the window takes a fullscreen size and back.
        SDL_SetWindowSize(game.getWindow(), i % 2 == 0 ? 1280 : 1920, i % 2 == 0 ? 720 : 1200);
        game.handleEvents();
        game.beginFrame();
        game.renderTexture(sprite, {600.0f, -32.0f}, {64.0f, 64.0f}, {1.0f, 1.0f});
        game.renderTexture(sprite, {600.0f, 300.0f}, {64.0f, 64.0f}, {1.0f, 1.0f});
        // The frame so far: the 1280 x 720 texture, or the letterboxed window at its scale.
        SDL_Surface* shot = SDL_RenderReadPixels(game.getRenderer(), nullptr);
        game.endFrame();
        const float scale = static_cast<float>(shot->w) / 1280.0f;
        Uint8 r = 0, g = 0, b = 0;
        SDL_ReadSurfacePixel(shot, static_cast<int>(632.0f * scale), static_cast<int>(332.0f * scale), &r, &g, &b, nullptr);
        SDL_DestroySurface(shot);
        ASSERT_EQ(r, 255) << "trip " << i;
    }
    SDL_DestroyTexture(sprite.texture);
}

} // namespace
