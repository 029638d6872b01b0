#include "ui/OptionsMenu.h"

#include "actors/Player.h"
#include "components/Spell.h"
#include "scenes/SceneMain.h"
#include "shell/Preferences.h"
#include "support/SceneDriver.h"

#include <fstream>

namespace {

constexpr float kDt = 1.0f / 60.0f;
constexpr const char* kSettings = "assets/settings.ini";

// The keyboard alone, through the real Game's event handling; the settings file starts empty.
struct OptionsMenuTest : SceneDriver {
    void SetUp() override {
        SceneDriver::SetUp();
        std::ofstream(kSettings) << "controls_seen=true\n";
        prefs().load();
    }
    void TearDown() override {
        std::ofstream(kSettings) << "controls_seen=true\n";
        prefs().load();
        SceneDriver::TearDown();
    }
    static Preferences& prefs() { return *Game::getInstance().getPreferences(); }
    void press(SDL_Scancode key) {
        pushKey(key);
        step();
    }
    void step(int n = 1) {
        for (int i = 0; i < n; ++i) {
            game.handleEvents();
            game.update(kDt);
        }
    }
    float travelled(SceneMain* main, SDL_Scancode key) {
        const glm::vec2 from = main->getPlayer()->getPosition();
        keys[key] = true;
        step(10);
        keys[key] = false;
        step(60); // glides to a stop
        return glm::length(main->getPlayer()->getPosition() - from);
    }
};

// What the end-to-end session does not see: a taken key is exchanged and the screen says so; while a
// key is awaited, M is a key like any other; the strike lands exactly at the cursor the arrows moved;
// slow motion set to toggle on the accessibility page needs no holding, and the game speed set there
// waits for the next game.
TEST_F(OptionsMenuTest, TakenKeysAreExchangedStrikesLandAtTheKeyedCursorAndSlowMotionToggles) {
    auto* main = new SceneMain;
    game.changeScene(main);
    press(SDL_SCANCODE_ESCAPE);
    main->getOptions()->open();
    OptionsMenu* options = main->getOptions();
    for (int i = 0; i < OptionsMenu::KEYS; ++i)
        press(SDL_SCANCODE_DOWN);
    press(SDL_SCANCODE_RETURN); // the keys' page, on its first row
    press(SDL_SCANCODE_RETURN);
    press(SDL_SCANCODE_M);
    EXPECT_FALSE(prefs().getSettings().mute);
    press(SDL_SCANCODE_RETURN);
    press(SDL_SCANCODE_D);
    EXPECT_EQ(options->getMessage(), "D was the key for Move right, which now has M");
    press(SDL_SCANCODE_ESCAPE); // back to the first page, on Keys
    press(SDL_SCANCODE_UP);     // Accessibility, a page of its own
    press(SDL_SCANCODE_RETURN);
    ASSERT_EQ(options->getHighlighted(), OptionsMenu::SLOW_MODE);
    press(SDL_SCANCODE_RIGHT);
    press(SDL_SCANCODE_DOWN); // Game speed: the next game's
    press(SDL_SCANCODE_LEFT);
    EXPECT_EQ(prefs().getSettings().game_speed, 90);
    EXPECT_EQ(options->getMessage(), "The next game runs at 90 % speed: its score is kept apart");
    press(SDL_SCANCODE_ESCAPE); // back to the first page
    ASSERT_EQ(options->getHighlighted(), OptionsMenu::ACCESSIBILITY);
    press(SDL_SCANCODE_ESCAPE);
    press(SDL_SCANCODE_ESCAPE);
    ASSERT_FALSE(main->getIsPause());
    EXPECT_GT(travelled(main, SDL_SCANCODE_M), 50.0f); // Move right's key now, not the mute key

    step(130); // the spell has cooled down
    keys[SDL_SCANCODE_RIGHT] = true;
    step(15);
    keys[SDL_SCANCODE_RIGHT] = false;
    press(SDL_SCANCODE_SPACE);
    const Spell* spell = nullptr;
    for (ObjectWorld* object : main->getChildrenWorld())
        if (auto* found = dynamic_cast<Spell*>(object)) spell = found;
    ASSERT_NE(spell, nullptr);
    EXPECT_EQ(spell->getPosition(), main->screenToWorld(game.getMousePosition()));

    const auto movedIn = [&](int frames) {
        const glm::vec2 from = main->getPlayer()->getPosition();
        keys[SDL_SCANCODE_D] = true;
        step(frames);
        keys[SDL_SCANCODE_D] = false;
        return glm::length(main->getPlayer()->getPosition() - from);
    };
    const float normal = movedIn(10);
    for (const float share : {0.4f, 1.0f}) { // one press on, the next one off
        keys[SDL_SCANCODE_LSHIFT] = true;
        step();
        keys[SDL_SCANCODE_LSHIFT] = false;
        EXPECT_NEAR(movedIn(10), normal * share, 1.0f);
    }

    // The left button given to slow motion takes it from Strike, which says so as an exchange does.
    options->open();
    for (int i = 0; i < OptionsMenu::KEYS; ++i)
        press(SDL_SCANCODE_DOWN);
    press(SDL_SCANCODE_RETURN);
    for (int i = 0; i < static_cast<int>(Action::SLOW); ++i)
        press(SDL_SCANCODE_DOWN);
    press(SDL_SCANCODE_RETURN);
    push(SDL_EVENT_MOUSE_BUTTON_DOWN, SDL_BUTTON_LEFT);
    step();
    EXPECT_EQ(options->getMessage(), "Left click was the key for Strike, which now has Space");
}

} // namespace
