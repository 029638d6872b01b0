#include "shell/Settings.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

TEST(SettingsTest, BadValuesFallBackOneByOneAndAreReported) {
    std::vector<std::string> problems;
    const Settings s = parseSettings(
        "fullscreen = yes\r\nvolume=250\nmute=maybe\nvolume=7O\n# volume=10\nlanguage=tlh\n", problems);
    EXPECT_TRUE(s.fullscreen);
    EXPECT_EQ(s.volume, 100); // 250 is out of range, 7O is not a number: the default
    EXPECT_FALSE(s.mute);
    EXPECT_EQ(s.language, ""); // a language the game does not have: the system's
    EXPECT_EQ(problems.size(), 4u);

    // The board's address is checked as on the command line; a name too long for any board is dropped.
    problems.clear();
    const Settings board = parseSettings("board_url=http://127.0.0.1@127.0.0.1\nboard_name=" + std::string(65, 'a'), problems);
    EXPECT_EQ(board.board_url, "");
    EXPECT_EQ(board.board_name, "");
    EXPECT_EQ(problems.size(), 2u);
    const Settings joined = parseSettings("board_url=http://127.0.0.1:8080/\nboard_send=yes\nboard_name=Ёлка", problems);
    EXPECT_EQ(joined.board_url, "http://127.0.0.1:8080");
    EXPECT_TRUE(joined.board_send);
    EXPECT_EQ(formatSettings(joined, {}), "fullscreen=false\nvolume=100\nmute=false\nboard_url=http://127.0.0.1:8080\n"
                                          "board_send=true\nboard_name=Ёлка\n");

    problems.clear();
    const Settings ok = parseSettings("volume=0\nmute=true\nfullscreen=false\nlanguage=pt_BR", problems);
    EXPECT_EQ(ok.volume, 0);
    EXPECT_TRUE(ok.mute);
    EXPECT_EQ(ok.language, "pt_BR");
    EXPECT_TRUE(problems.empty());
}

TEST(SettingsTest, RewriteKeepsUnknownLinesInPlaceAndEachKeyOnce) {
    const std::vector<std::string> old = {"# mine", "volume=30", "colour=blue", "volume=40", "", "[later]"};
    Settings s;
    s.volume = 70;
    s.mute = true;
    EXPECT_EQ(formatSettings(s, old),
              "# mine\nvolume=70\ncolour=blue\n\n[later]\nfullscreen=false\nmute=true\n");
}

TEST(SettingsTest, FileRoundTripsThroughARenameAndKeepsWhatItDoesNotKnow) {
    const TempDir dir;
    const std::string path = dir.file("settings.ini");
    writeText(path, "difficulty=hard\nvolume=50\n");
    SettingsFile file(path);
    Settings s = file.load();
    EXPECT_EQ(s.volume, 50);
    s.fullscreen = true;
    ASSERT_TRUE(file.save(s));
    EXPECT_EQ(readText(path), "difficulty=hard\nvolume=50\nfullscreen=true\nmute=false\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    SettingsFile again(path);
    EXPECT_TRUE(again.load().fullscreen);
}

TEST(SettingsTest, HostileFilesGiveTheDefaults) {
    const TempDir dir;
    const std::string path = dir.file("settings.ini");
    const auto loadsDefaults = [&](const char* what) {
        SettingsFile file(path);
        const Settings s = file.load();
        EXPECT_FALSE(s.fullscreen) << what;
        EXPECT_EQ(s.volume, 100) << what;
        EXPECT_FALSE(s.mute) << what;
    };
    loadsDefaults("missing");
    writeText(path, std::string("mute=true\0\x01\x02volume=5", 20));
    loadsDefaults("binary");
    writeText(path, "mute=true\n" + std::string(SettingsFile::MAX_BYTES, '#'));
    loadsDefaults("huge");
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    loadsDefaults("a folder");

    // Saving onto a folder fails cleanly: the folder stays, no temporary is left.
    SettingsFile file(path);
    EXPECT_FALSE(file.save(Settings{}));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

// The keys this version added: read back as written, left out while at their defaults, and each
// problem (a bad value, a name SDL does not know, a mouse button on a key-only action, two actions on
// one key) costs only its own line.
TEST(SettingsTest, VolumesSlowMotionAndKeysRoundTripAndClashesFallBack) {
    Settings s;
    s.music_volume = 0;
    s.slow_toggles = true;
    s.controls_seen = true;
    s.game_speed = 70;
    s.reduce_flashes = false; // said, unlike the system's choice
    s.large_text = true;
    ASSERT_EQ(s.bindings.bind(Action::UP, {SDL_SCANCODE_S, 0}), Action::DOWN); // exchanged
    s.bindings.bind(Action::STRIKE, {SDL_SCANCODE_UNKNOWN, SDL_BUTTON_RIGHT});
    const std::string text = formatSettings(s, {"mute=true", "effects_volume=100"});
    EXPECT_EQ(text, "mute=false\neffects_volume=100\nfullscreen=false\nvolume=100\nmusic_volume=0\n"
                    "slow_motion=toggle\ncontrols_seen=true\ngame_speed=70\nreduce_flashes=false\ntext_size=large\nkey_up=S\n"
                    "key_down=W\nkey_strike=mouse_right\n");
    std::vector<std::string> problems;
    const Settings back = parseSettings(text, problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(back.bindings, s.bindings);
    EXPECT_EQ(back.music_volume, 0);
    EXPECT_TRUE(back.slow_toggles && back.controls_seen);
    EXPECT_EQ(back.game_speed, 70);
    EXPECT_EQ(back.reduce_flashes, false);
    EXPECT_EQ(back.large_text, true);
    EXPECT_TRUE(back.bindings.mouseDoes(SDL_BUTTON_LEFT, Action::STRIKE)); // the left button keeps its role
    EXPECT_FALSE(back.bindings.mouseDoes(SDL_BUTTON_RIGHT, Action::SLOW));

    const Settings bad = parseSettings("key_left=Left Shift\nkey_up=I\nkey_strike=I\nkey_down=Nope\n"
                                       "key_pause=mouse_left\nslow_motion=sometimes\nmusic_volume=-1\ngame_speed=55\n"
                                       "reduce_flashes=maybe\n",
                                       problems);
    EXPECT_EQ(problems.size(), 8u); // the seven bad lines, and slow motion taking another key
    EXPECT_EQ(bad.game_speed, 100);
    EXPECT_FALSE(bad.reduce_flashes.has_value());
    EXPECT_EQ(bindingName(bad.bindings.get(Action::LEFT)), "Left Shift");
    EXPECT_EQ(bindingName(bad.bindings.get(Action::UP)), "I");
    EXPECT_EQ(bad.bindings.get(Action::STRIKE), Bindings::defaultFor(Action::STRIKE)); // the later line lost
    EXPECT_EQ(bad.bindings.get(Action::DOWN), Bindings::defaultFor(Action::DOWN));
    EXPECT_EQ(bad.bindings.get(Action::PAUSE), Bindings::defaultFor(Action::PAUSE));
    // Left took slow motion's key: slow motion takes left's in exchange, as Options would.
    EXPECT_EQ(bad.bindings.get(Action::SLOW), Bindings::defaultFor(Action::LEFT));
    // Every action keeps a key: one line taking another's default, or a "none", leaves nobody without.
    const Settings swapped = parseSettings("key_left=D\nkey_up=none\n", problems);
    EXPECT_EQ(swapped.bindings.get(Action::RIGHT), Bindings::defaultFor(Action::LEFT));
    EXPECT_EQ(swapped.bindings.get(Action::UP), Bindings::defaultFor(Action::UP));
    EXPECT_EQ(formatSettings(swapped, {}), "fullscreen=false\nvolume=100\nmute=false\nkey_left=D\nkey_right=A\n");
    EXPECT_FALSE(bad.slow_toggles);
    EXPECT_EQ(bad.music_volume, 100);
}

} // namespace
