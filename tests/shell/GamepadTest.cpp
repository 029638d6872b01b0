#include "shell/Gamepad.h"

#include "actors/Player.h"
#include "actors/WeaponThunder.h"
#include "components/Spell.h"
#include "components/Stats.h"
#include "components/TextLabel.h"
#include "scenes/SceneMain.h"
#include "scenes/SceneTitle.h"
#include "support/SceneDriver.h"
#include "support/VirtualPad.h"
#include "ui/ControlsHelp.h"
#include "ui/HUDButton.h"
#include "ui/HUDText.h"
#include "ui/OptionsMenu.h"

#include <gmock/gmock.h>

namespace {

constexpr float kDt = 1.0f / 60.0f;

// A pad plugged into the real Game, which polls it with every frame's events.
struct GamepadTest : SceneDriver {
    void SetUp() override {
        SceneDriver::SetUp();
        pad.plug();
        step();
        ASSERT_TRUE(game.getGamepad().isConnected());
    }
    void TearDown() override {
        pad.unplug();
        step();
        SceneDriver::TearDown();
    }
    void step(int n = 1) {
        for (int i = 0; i < n; ++i) {
            game.handleEvents();
            game.update(kDt);
        }
    }
    SceneMain* startGame() {
        auto* main = new SceneMain;
        game.changeScene(main);
        return main;
    }
    void press(SDL_GamepadButton button) {
        pad.hold(button);
        step();
        pad.hold(button, false);
        step();
    }
    float travelled(SceneMain* main, int frames) {
        const glm::vec2 from = main->getPlayer()->getPosition();
        step(frames);
        return glm::length(main->getPlayer()->getPosition() - from);
    }
    int spells(SceneMain* main) const {
        int count = 0;
        for (ObjectWorld* object : main->getChildrenWorld())
            count += dynamic_cast<Spell*>(object) ? 1 : 0;
        return count;
    }
    VirtualPad pad;
};

TEST_F(GamepadTest, FullTiltMovesAtKeySpeedAndReleasedTheGhostGlides) {
    keys[SDL_SCANCODE_D] = true;
    const float by_key = travelled(startGame(), 30);
    keys[SDL_SCANCODE_D] = false;

    SceneMain* main = startGame();
    pad.tilt(SDL_GAMEPAD_AXIS_LEFTX, 1.0f);
    EXPECT_NEAR(travelled(main, 30), by_key, 0.5f);
    pad.tilt(SDL_GAMEPAD_AXIS_LEFTX, 0.5f);
    step();
    EXPECT_NEAR(main->getPlayer()->getVelocity().x, 0.5f * 500.0f * 0.9f, 1.0f);
    pad.tilt(SDL_GAMEPAD_AXIS_LEFTX, 0.1f); // inside the dead zone: released
    const float before = main->getPlayer()->getVelocity().x;
    step();
    EXPECT_NEAR(main->getPlayer()->getVelocity().x, before * 0.9f, 0.5f);

    // A held key still decides its axis.
    pad.tilt(SDL_GAMEPAD_AXIS_LEFTX, 1.0f);
    keys[SDL_SCANCODE_A] = true;
    step();
    EXPECT_LT(main->getPlayer()->getVelocity().x, 0.0f);
    keys[SDL_SCANCODE_A] = false;
}

TEST_F(GamepadTest, RightStickSteersTheCursorInsideTheScreenUntilTheMouseMoves) {
    startGame();
    pointAt({640.0f, 360.0f});
    step();
    pad.tilt(SDL_GAMEPAD_AXIS_RIGHTX, 1.0f);
    step(30); // half a second at full tilt
    EXPECT_NEAR(game.getMousePosition().x, 640.0f + 600.0f, 1.0f);
    EXPECT_NEAR(game.getMousePosition().y, 360.0f, 1.0f);
    step(30);
    EXPECT_EQ(game.getMousePosition().x, 1280.0f);
    pad.tilt(SDL_GAMEPAD_AXIS_RIGHTX, 0.0f);
    step();
    EXPECT_EQ(game.getMousePosition().x, 1280.0f); // the pad's cursor stays where the pad left it
    pointAt({100.0f, 200.0f});
    step();
    EXPECT_EQ(game.getMousePosition(), glm::vec2(100.0f, 200.0f));
}

TEST_F(GamepadTest, TriggerAndSouthStrikeAtTheCursorWithTheWeaponsRules) {
    SceneMain* main = startGame();
    pointAt({300.0f, 200.0f});
    pad.tilt(SDL_GAMEPAD_AXIS_RIGHT_TRIGGER, 1.0f);
    step();
    EXPECT_EQ(spells(main), 0); // first cool-down not over
    pad.tilt(SDL_GAMEPAD_AXIS_RIGHT_TRIGGER, 0.0f);
    step(125);
    const float mana = main->getPlayer()->getStats()->getMana();
    pad.tilt(SDL_GAMEPAD_AXIS_RIGHT_TRIGGER, 1.0f);
    step(2);
    ASSERT_EQ(spells(main), 1);
    EXPECT_NEAR(main->getPlayer()->getStats()->getMana(), mana - 40.0f, 0.5f);
    auto* spell = [&] {
        for (ObjectWorld* object : main->getChildrenWorld())
            if (auto* s = dynamic_cast<Spell*>(object)) return s;
        return static_cast<Spell*>(nullptr);
    }();
    EXPECT_EQ(spell->getPosition(), glm::vec2(300.0f, 200.0f) + main->getCameraPosition());

    // South casts too, under the same cool-down.
    const auto castsWithSouth = [&] {
        const float timer = main->getPlayer()->getWeapon()->getCoolDownTimer();
        pad.hold(SDL_GAMEPAD_BUTTON_SOUTH);
        step();
        pad.hold(SDL_GAMEPAD_BUTTON_SOUTH, false);
        step();
        return main->getPlayer()->getWeapon()->getCoolDownTimer() < timer;
    };
    EXPECT_FALSE(castsWithSouth());
    step(125);
    EXPECT_TRUE(castsWithSouth());
}

TEST_F(GamepadTest, StartPausesAndResumesAndLeftTriggerSlowsTime) {
    SceneMain* main = startGame();
    pad.hold(SDL_GAMEPAD_BUTTON_START);
    step();
    EXPECT_TRUE(main->getIsPause());
    pad.hold(SDL_GAMEPAD_BUTTON_START, false);
    step();
    pad.hold(SDL_GAMEPAD_BUTTON_START);
    step();
    EXPECT_FALSE(main->getIsPause());

    keys[SDL_SCANCODE_D] = true;
    const float normal = travelled(main, 20);
    pad.tilt(SDL_GAMEPAD_AXIS_LEFT_TRIGGER, 1.0f);
    EXPECT_NEAR(travelled(main, 20) / normal, 0.4f, 0.02f);
    keys[SDL_SCANCODE_D] = false;
}

TEST_F(GamepadTest, UnpluggedMidGameTheKeysPlayOnAndPluggedAgainThePadPlays) {
    SceneMain* main = startGame();
    pad.tilt(SDL_GAMEPAD_AXIS_LEFTX, 1.0f);
    step(5);
    pad.unplug();
    step();
    EXPECT_FALSE(game.getGamepad().isConnected());
    EXPECT_EQ(game.getGamepad().getMove(), glm::vec2(0.0f));
    keys[SDL_SCANCODE_S] = true;
    EXPECT_GT(travelled(main, 10), 50.0f);
    keys[SDL_SCANCODE_S] = false;

    pad.plug();
    step();
    ASSERT_TRUE(game.getGamepad().isConnected());
    pad.tilt(SDL_GAMEPAD_AXIS_LEFTY, -1.0f);
    step(3);
    EXPECT_LT(main->getPlayer()->getVelocity().y, -400.0f);
}

TEST_F(GamepadTest, TheTitleAndTheGameOverScreenPlayWithThePadAlone) {
    auto* title = new SceneTitle;
    game.changeScene(title);
    press(SDL_GAMEPAD_BUTTON_DPAD_RIGHT); // shows the highlight on Start
    EXPECT_TRUE(title->getButtonStart()->getIsHover());
    EXPECT_EQ(played("assets/sound/UI_button12.wav"), 1);
    press(SDL_GAMEPAD_BUTTON_DPAD_RIGHT);
    EXPECT_FALSE(title->getButtonStart()->getIsHover());
    EXPECT_TRUE(title->getButtonCredits()->getIsHover());
    // By where the buttons stand: down from Credits is Options, up goes back, and nothing is above.
    press(SDL_GAMEPAD_BUTTON_DPAD_DOWN);
    EXPECT_TRUE(title->getButtonOptions()->getIsHover());
    press(SDL_GAMEPAD_BUTTON_DPAD_UP);
    press(SDL_GAMEPAD_BUTTON_DPAD_UP);
    EXPECT_TRUE(title->getButtonCredits()->getIsHover());
    press(SDL_GAMEPAD_BUTTON_SOUTH);
    EXPECT_TRUE(title->getCreditsText()->getIsActive());
    press(SDL_GAMEPAD_BUTTON_EAST);
    EXPECT_FALSE(title->getCreditsText()->getIsActive());
    press(SDL_GAMEPAD_BUTTON_DPAD_LEFT);
    press(SDL_GAMEPAD_BUTTON_SOUTH);
    game.applyPendingScene();
    auto* main = dynamic_cast<SceneMain*>(game.getCurrentScene());
    ASSERT_NE(main, nullptr);

    // Game over: the highlight visits Restart and Back; a flick of the left stick moves it too.
    main->getPlayer()->takeDamage(1000.0f);
    step(200);
    ASSERT_FALSE(main->getButtonPause()->getIsActive());
    pad.tilt(SDL_GAMEPAD_AXIS_LEFTX, 1.0f);
    step();
    EXPECT_TRUE(main->getButtonRestart()->getIsHover());
    step(3); // held: still one step
    pad.tilt(SDL_GAMEPAD_AXIS_LEFTX, 0.0f);
    step();
    pad.tilt(SDL_GAMEPAD_AXIS_LEFTX, 1.0f);
    step();
    EXPECT_TRUE(main->getButtonBack()->getIsHover());
    press(SDL_GAMEPAD_BUTTON_SOUTH);
    game.applyPendingScene();
    EXPECT_NE(dynamic_cast<SceneTitle*>(game.getCurrentScene()), nullptr);
}

TEST_F(GamepadTest, OptionsOpenFromThePauseAndPlayWithThePadAlone) {
    SceneMain* main = startGame();
    press(SDL_GAMEPAD_BUTTON_START);
    ASSERT_TRUE(main->getIsPause());
    for (int i = 0; i < 4; ++i) // lights Pause, then Restart, Back and Options
        press(SDL_GAMEPAD_BUTTON_DPAD_RIGHT);
    press(SDL_GAMEPAD_BUTTON_SOUTH);
    OptionsMenu* options = main->getOptions();
    ASSERT_TRUE(options->getIsActive());
    press(SDL_GAMEPAD_BUTTON_DPAD_DOWN);
    press(SDL_GAMEPAD_BUTTON_DPAD_DOWN);
    press(SDL_GAMEPAD_BUTTON_DPAD_LEFT);
    EXPECT_EQ(options->getValueText(OptionsMenu::EFFECTS), "< 90 >");
    EXPECT_FLOAT_EQ(MIX_GetTrackGain(game.getEffectTrack(0)), Game::VOLUME * 0.9f);
    press(SDL_GAMEPAD_BUTTON_DPAD_RIGHT);
    press(SDL_GAMEPAD_BUTTON_EAST);
    EXPECT_FALSE(options->getIsActive());
    EXPECT_TRUE(main->getIsPause()); // back to the pause it was opened from
    press(SDL_GAMEPAD_BUTTON_START);
    EXPECT_FALSE(main->getIsPause());
}

// Each family's pad, as SDL takes it from its USB ids: the words on screen are that pad's, and the button
// labelled A (Cross) confirms wherever the family puts it, so B on a Nintendo pad goes back.
TEST_F(GamepadTest, EachFamilyIsNamedInItsOwnWordsAndConfirmsWithItsA) {
    struct Family {
        Uint16 vendor, product;
        const char* line;
        SDL_GamepadButton confirm, back;
    };
    const Family families[] = {
        {0x045e, 0x02ea, "Strike: A or right trigger   Slow (hold): left trigger   Pause: Menu",
         SDL_GAMEPAD_BUTTON_SOUTH, SDL_GAMEPAD_BUTTON_EAST},
        {0x054c, 0x0ce6, "Strike: Cross or R2   Slow (hold): L2   Pause: Options", SDL_GAMEPAD_BUTTON_SOUTH,
         SDL_GAMEPAD_BUTTON_EAST},
        {0x057e, 0x2009, "Strike: A or ZR   Slow (hold): ZL   Pause: +", SDL_GAMEPAD_BUTTON_EAST,
         SDL_GAMEPAD_BUTTON_SOUTH},
    };
    for (const Family& family : families) {
        SCOPED_TRACE(family.line);
        pad.unplug();
        step();
        pad.plug(family.vendor, family.product);
        step();
        auto* title = new SceneTitle;
        game.changeScene(title);
        press(SDL_GAMEPAD_BUTTON_DPAD_RIGHT);
        press(SDL_GAMEPAD_BUTTON_DPAD_RIGHT); // Credits lit
        EXPECT_THAT(title->getControlsText()->getTextLabel()->getText(), testing::HasSubstr(family.line));
        press(family.back); // not a confirm: the credits stay shut
        EXPECT_FALSE(title->getCreditsText()->getIsActive());
        press(family.confirm);
        EXPECT_TRUE(title->getCreditsText()->getIsActive());
        press(family.back);
        EXPECT_FALSE(title->getCreditsText()->getIsActive());
        ASSERT_NE(game.getPadNamesInUse(), nullptr);
        EXPECT_THAT(optionsHint(game.getPadNamesInUse()),
                    testing::HasSubstr(game.getPadNamesInUse()->confirm + ": pick"));
    }
}

} // namespace
