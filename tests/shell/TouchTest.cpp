#include "shell/Touch.h"

#include "actors/Player.h"
#include "components/Sprite.h"
#include "components/Stats.h"
#include "scenes/SceneMain.h"
#include "scenes/SceneTitle.h"
#include "shell/Preferences.h"
#include "ui/HUDButton.h"
#include "support/SceneDriver.h"
#include "ui/OptionsMenu.h"

namespace {

constexpr float kDt = 1.0f / 60.0f;

// Fingers on the real Game's (dummy) window, queued as SDL's own finger events.
struct TouchTest : SceneDriver {
    void finger(Uint32 type, SDL_FingerID id, glm::vec2 at) {
        pushFinger(type, id, at);
        step();
    }
    void tap(SDL_FingerID id, glm::vec2 at) {
        finger(SDL_EVENT_FINGER_DOWN, id, at);
        finger(SDL_EVENT_FINGER_UP, id, at);
    }
    void step(int n = 1) {
        for (int i = 0; i < n; ++i) {
            game.handleEvents();
            game.update(kDt);
        }
    }
    static glm::vec2 centre(const SDL_FRect& box) { return {box.x + box.w / 2.0f, box.y + box.h / 2.0f}; }
};

// Each finger keeps the part it landed for: the steering thumb steers wherever it slides, a second
// finger strikes meanwhile, and neither clicks like a mouse; the two buttons pause and slow.
TEST_F(TouchTest, EachFingerKeepsItsPartAndTwoThumbsPlayTogether) {
    auto* main = new SceneMain;
    game.changeScene(main);
    step(125); // the first cool-down
    Player* player = main->getPlayer();
    const float mana = player->getStats()->getMana();
    finger(SDL_EVENT_FINGER_DOWN, 1, {300.0f, 400.0f});
    finger(SDL_EVENT_FINGER_MOTION, 1, {100.0f, 400.0f}); // past the rim: full tilt left
    EXPECT_TRUE(game.isTouchLastUsed());
    EXPECT_FLOAT_EQ(player->getVelocity().x, -500.0f * 0.9f);
    EXPECT_EQ(player->getStats()->getMana(), mana) << "the steering thumb struck";

    finger(SDL_EVENT_FINGER_DOWN, 2, {1000.0f, 300.0f});
    EXPECT_LT(player->getStats()->getMana(), mana) << "a second finger did not strike";
    EXPECT_EQ(game.getMousePosition(), glm::vec2(1000.0f, 300.0f));
    EXPECT_LT(player->getVelocity().x, 0.0f);
    finger(SDL_EVENT_FINGER_UP, 2, {1000.0f, 300.0f});

    // Slid onto the right, the thumb still steers; a finger landing on the left meanwhile strikes.
    finger(SDL_EVENT_FINGER_MOTION, 1, {900.0f, 400.0f});
    EXPECT_GT(player->getVelocity().x, 0.0f);
    const float dead_zone = game.getTouch().getLayout().stick_radius * Touch::DEAD_ZONE;
    finger(SDL_EVENT_FINGER_UP, 1, {900.0f, 400.0f});
    const float gliding = player->getVelocity().x;
    step();
    EXPECT_NEAR(player->getVelocity().x, gliding * 0.9f, 0.5f);
    finger(SDL_EVENT_FINGER_DOWN, 3, {300.0f, 400.0f});
    finger(SDL_EVENT_FINGER_MOTION, 3, {300.0f + dead_zone / 2.0f, 400.0f});
    EXPECT_EQ(game.getTouch().getMove(), glm::vec2(0.0f));
    finger(SDL_EVENT_FINGER_UP, 3, {300.0f, 400.0f});

    const TouchLayout layout = game.getTouch().getLayout();
    finger(SDL_EVENT_FINGER_DOWN, 4, centre(layout.slow));
    EXPECT_TRUE(game.getTouch().isSlowHeld());
    finger(SDL_EVENT_FINGER_UP, 4, centre(layout.slow));
    // In play the small row is out of the way; paused, the buttons are large enough for a finger, and
    // stay that size however often the game is paused.
    EXPECT_FALSE(main->getButtonBack()->getIsActive());
    for (int pause = 0; pause < 2; ++pause) {
        tap(5, centre(layout.pause));
        EXPECT_TRUE(main->getIsPause());
        EXPECT_EQ(main->touchMode(), TouchMode::PAUSED);
        const glm::vec2 back = main->getButtonBack()->getSpriteNormal()->getSize();
        EXPECT_TRUE(main->getButtonBack()->getIsActive());
        EXPECT_GE(back.y, 48.0f * layout.unit);
        EXPECT_LE(back.y, 5.0f * 24.0f);
        tap(5, centre(layout.pause));
        EXPECT_FALSE(main->getIsPause());
        EXPECT_FALSE(main->getButtonBack()->getIsActive());
    }
}

// In menus a tap is a click: Start starts; in Options a volume goes down by the row's left half or its
// "<", and up by the rest of its right half, and a key row says it wants a keyboard instead of waiting for a key.
TEST_F(TouchTest, TapsPlayTheMenus) {
    game.changeScene(new SceneTitle);
    step();
    tap(1, {440.0f, 560.0f});
    ASSERT_NE(game.getNextScene(), nullptr);
    game.applyPendingScene();
    auto* main = dynamic_cast<SceneMain*>(game.getCurrentScene());
    ASSERT_NE(main, nullptr);
    main->getOptions()->open();
    const int volume = game.getPreferences()->getSettings().volume;
    tap(1, {400.0f, 108.0f});
    EXPECT_EQ(game.getPreferences()->getSettings().volume, volume - Settings::VOLUME_STEP);
    tap(1, {900.0f, 108.0f});
    EXPECT_EQ(game.getPreferences()->getSettings().volume, volume);
    tap(1, {704.0f, 108.0f}); // the "<", in the row's right half
    EXPECT_EQ(game.getPreferences()->getSettings().volume, volume - Settings::VOLUME_STEP);
    tap(1, {756.0f, 108.0f}); // the ">"
    EXPECT_EQ(game.getPreferences()->getSettings().volume, volume);
    tap(1, {400.0f, 108.0f + 24.0f * static_cast<float>(OptionsMenu::KEYS)}); // the keys' page
    ASSERT_EQ(main->getOptions()->getPage(), OptionsMenu::Page::KEYS);
    tap(1, {400.0f, 108.0f}); // its first key
    EXPECT_FALSE(main->getOptions()->getCapturing());
    EXPECT_EQ(main->getOptions()->getMessage(), "Keys are changed with a keyboard");
}

} // namespace
