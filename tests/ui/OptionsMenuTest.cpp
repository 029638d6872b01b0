#include "ui/OptionsMenu.h"

#include "actors/Player.h"
#include "components/Spell.h"
#include "scenes/SceneMain.h"
#include "scenes/SceneTitle.h"
#include "shell/Preferences.h"
#include "support/SceneDriver.h"
#include "ui/HUDButton.h"
#include "ui/HUDText.h"

#include <filesystem>
#include <fstream>
#include <sstream>

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
        SDL_Event event{};
        event.type = SDL_EVENT_KEY_DOWN;
        event.key.scancode = key;
        event.key.key = SDL_GetKeyFromScancode(key, SDL_KMOD_NONE, false);
        event.key.windowID = SDL_GetWindowID(game.getWindow());
        SDL_PushEvent(&event);
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
    static std::string settingsText() {
        std::ifstream file(kSettings);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
};

TEST_F(OptionsMenuTest, TheKeyboardAloneReachesOptionsChangesTheMusicAndRebindsAKey) {
    auto* title = new SceneTitle;
    game.changeScene(title);
    for (int i = 0; i < 4; ++i) // the first press lights Start; three more reach Options
        press(SDL_SCANCODE_RIGHT);
    EXPECT_TRUE(title->getButtonOptions()->getIsHover());
    press(SDL_SCANCODE_RETURN);
    OptionsMenu* options = title->getOptions();
    ASSERT_TRUE(options->getIsActive());

    press(SDL_SCANCODE_DOWN);
    press(SDL_SCANCODE_LEFT);
    EXPECT_FLOAT_EQ(MIX_GetTrackGain(game.getMusicTrack()), Game::VOLUME * 0.9f);
    EXPECT_FLOAT_EQ(MIX_GetTrackGain(game.getEffectTrack(0)), Game::VOLUME);
    EXPECT_NE(settingsText().find("music_volume=90\n"), std::string::npos);

    for (int i = 0; i < OptionsMenu::FIRST_KEY - OptionsMenu::MUSIC; ++i)
        press(SDL_SCANCODE_DOWN);
    press(SDL_SCANCODE_SPACE);
    ASSERT_EQ(options->getCapturing(), Action::UP);
    press(SDL_SCANCODE_M); // a key like any other while capturing: not the mute key
    EXPECT_FALSE(prefs().getSettings().mute);
    EXPECT_EQ(options->getValueText(OptionsMenu::FIRST_KEY), "M");
    press(SDL_SCANCODE_RETURN);
    press(SDL_SCANCODE_D); // Move right's key: the two are exchanged, and the screen says so
    EXPECT_EQ(options->getMessage(), "D was Move right, which now has M");
    press(SDL_SCANCODE_RETURN);
    press(SDL_SCANCODE_I);
    press(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(options->getIsActive());
    EXPECT_NE(settingsText().find("key_up=I\n"), std::string::npos);

    auto* main = new SceneMain;
    game.changeScene(main);
    EXPECT_GT(travelled(main, SDL_SCANCODE_I), 50.0f);
    EXPECT_LT(travelled(main, SDL_SCANCODE_W), 1.0f); // what is left of the glide
    EXPECT_GT(travelled(main, SDL_SCANCODE_M), 50.0f);   // Move right's key now, not the mute key
    EXPECT_FALSE(prefs().getSettings().mute);
}

TEST_F(OptionsMenuTest, ArrowsAimAndSpaceStrikesWhereTheCursorWentAndSlowMotionCanToggle) {
    std::ofstream(kSettings) << "slow_motion=toggle\n";
    prefs().load();
    auto* main = new SceneMain;
    game.changeScene(main);
    ASSERT_NE(main->getControlsCard(), nullptr); // a fresh settings file: the card is up
    step(130); // the spell has cooled down
    const glm::vec2 start = game.getMousePosition();
    keys[SDL_SCANCODE_RIGHT] = true;
    step(15); // a quarter of a second at the right stick's full speed
    keys[SDL_SCANCODE_RIGHT] = false;
    EXPECT_NEAR(game.getMousePosition().x - start.x, Game::PAD_CURSOR_SPEED / 4.0f, 1.0f);
    press(SDL_SCANCODE_SPACE);
    EXPECT_EQ(main->getControlsCard(), nullptr); // any input closes it
    EXPECT_NE(settingsText().find("controls_seen=true\n"), std::string::npos);
    const Spell* spell = nullptr;
    for (ObjectWorld* object : main->getChildrenWorld())
        if (auto* found = dynamic_cast<Spell*>(object)) spell = found;
    ASSERT_NE(spell, nullptr);
    EXPECT_EQ(spell->getPosition(), main->screenToWorld(game.getMousePosition()));

    // One press turns slow motion on, the next one off; holding is not needed.
    const auto movedIn = [&](int frames) {
        const glm::vec2 from = main->getPlayer()->getPosition();
        keys[SDL_SCANCODE_D] = true;
        step(frames);
        keys[SDL_SCANCODE_D] = false;
        return main->getPlayer()->getPosition().x - from.x;
    };
    const float normal = movedIn(10);
    keys[SDL_SCANCODE_LSHIFT] = true;
    step();
    keys[SDL_SCANCODE_LSHIFT] = false;
    EXPECT_NEAR(movedIn(10), normal * 0.4f, 1.0f);
    keys[SDL_SCANCODE_LSHIFT] = true;
    step();
    keys[SDL_SCANCODE_LSHIFT] = false;
    EXPECT_NEAR(movedIn(10), normal, 1.0f);
}

} // namespace
