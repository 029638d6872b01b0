#include "shell/Preferences.h"

#include "actors/Spawner.h"
#include "scenes/SceneMain.h"
#include "support/SceneDriver.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* kSettings = "assets/settings.ini";

// Keys and window events through the real Game's event handling, the settings file in assets/.
struct PreferencesTest : SceneDriver {
    void SetUp() override {
        SceneDriver::SetUp();
        std::filesystem::remove(kSettings);
        prefs = game.getPreferences();
        prefs->load();
    }
    void TearDown() override {
        std::filesystem::remove(kSettings);
        prefs->load(); // back to the defaults for the next test
        SceneDriver::TearDown();
    }
    void key(SDL_Keycode key, SDL_Keymod mod = SDL_KMOD_NONE) {
        SDL_Event event{};
        event.type = SDL_EVENT_KEY_DOWN;
        event.key.key = key;
        event.key.mod = mod;
        event.key.windowID = SDL_GetWindowID(game.getWindow());
        SDL_PushEvent(&event);
        game.handleEvents();
    }
    void window(SDL_EventType type) {
        SDL_Event event{};
        event.type = type;
        event.window.windowID = SDL_GetWindowID(game.getWindow());
        SDL_PushEvent(&event);
        game.handleEvents();
    }
    static std::string settingsText() {
        std::ifstream file(kSettings);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    Preferences* prefs = nullptr;
};

TEST_F(PreferencesTest, MuteAndVolumeStepsReachTheMixerTheFileAndTheNote) {
    key(SDLK_MINUS);
    key(SDLK_KP_MINUS);
    key(SDLK_MINUS);
    EXPECT_FLOAT_EQ(MIX_GetMixerGain(game.getMixer()), 0.7f);
    EXPECT_EQ(prefs->getNote(), "Volume 70%");
    EXPECT_NE(settingsText().find("volume=70\n"), std::string::npos);
    key(SDLK_M);
    EXPECT_EQ(MIX_GetMixerGain(game.getMixer()), 0.0f);
    EXPECT_NE(settingsText().find("mute=true\n"), std::string::npos);
    key(SDLK_M);
    EXPECT_FLOAT_EQ(MIX_GetMixerGain(game.getMixer()), 0.7f);
    for (int i = 0; i < 5; ++i)
        key(SDLK_EQUALS);
    EXPECT_EQ(prefs->getSettings().volume, 100); // stops at full
    // The note goes after a second.
    game.update(0.5f);
    EXPECT_FALSE(prefs->getNote().empty());
    game.update(0.6f);
    EXPECT_TRUE(prefs->getNote().empty());
}

TEST_F(PreferencesTest, FullscreenKeysToggleAndAreKeptButTheCommandLineIsNot) {
    key(SDLK_F11);
    EXPECT_TRUE(prefs->getSettings().fullscreen);
    key(SDLK_RETURN, SDL_KMOD_LALT);
    EXPECT_FALSE(prefs->getSettings().fullscreen);
    key(SDLK_RETURN); // Enter alone is not a toggle
    EXPECT_FALSE(prefs->getSettings().fullscreen);
    EXPECT_NE(settingsText().find("fullscreen=false\n"), std::string::npos);

    prefs->setMute(true, false); // as --mute does
    key(SDLK_MINUS);
    EXPECT_EQ(MIX_GetMixerGain(game.getMixer()), 0.0f);
    EXPECT_NE(settingsText().find("mute=false\n"), std::string::npos);
}

TEST_F(PreferencesTest, SettingsAreReadAtStartAndABadFileChangesNothing) {
    std::ofstream(kSettings) << "volume=40\nmute=sometimes\n";
    prefs->load();
    EXPECT_FLOAT_EQ(MIX_GetMixerGain(game.getMixer()), 0.4f);
    EXPECT_FALSE(prefs->getSettings().mute);
    std::filesystem::remove(kSettings);
    std::filesystem::create_directory(kSettings);
    prefs->load();
    key(SDLK_M); // cannot be saved, still takes effect
    EXPECT_EQ(MIX_GetMixerGain(game.getMixer()), 0.0f);
    std::filesystem::remove(kSettings);
}

TEST_F(PreferencesTest, TheFirstGameWaitsForItsCardAndEscThenPausesLikeThePauseButtonAsLeavingTheWindowDoes) {
    auto* main = new SceneMain;
    game.changeScene(main);
    // A first game: the world waits behind the card, recording nothing, and the key that closes the
    // card does nothing else.
    ASSERT_NE(main->getControlsCard(), nullptr);
    const float wave_timer = main->getSpawner()->getTimer();
    for (int i = 0; i < 10; ++i)
        game.update(1.0f);
    EXPECT_EQ(main->getSpawner()->getTimer(), wave_timer);
    key(SDLK_ESCAPE);
    EXPECT_EQ(main->getControlsCard(), nullptr);
    EXPECT_FALSE(main->getIsPause());
    game.update(1.0f / 60.0f);
    EXPECT_EQ(game.getRecorder().finish(0, 0).frame_count, 1u);
    game.getRecorder().begin(0, false);

    key(SDLK_ESCAPE);
    EXPECT_TRUE(main->getIsPause());
    EXPECT_TRUE(MIX_TrackPaused(game.getMusicTrack()));
    key(SDLK_ESCAPE);
    EXPECT_FALSE(main->getIsPause());
    EXPECT_TRUE(MIX_TrackPlaying(game.getMusicTrack()));

    for (SDL_EventType away :
         {SDL_EVENT_WINDOW_FOCUS_LOST, SDL_EVENT_WINDOW_MINIMIZED, SDL_EVENT_WINDOW_HIDDEN}) {
        window(away);
        EXPECT_TRUE(main->getIsPause()) << away;
        window(SDL_EVENT_WINDOW_FOCUS_GAINED);
        EXPECT_TRUE(main->getIsPause()) << away; // waits for the player
        key(SDLK_ESCAPE);
        EXPECT_FALSE(main->getIsPause());
    }
}

} // namespace
