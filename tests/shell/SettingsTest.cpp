#include "shell/Settings.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string readAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(SettingsTest, BadValuesFallBackOneByOneAndAreReported) {
    std::vector<std::string> problems;
    const Settings s =
        parseSettings("fullscreen = yes\r\nvolume=250\nmute=maybe\nvolume=7O\n# volume=10\n", problems);
    EXPECT_TRUE(s.fullscreen);
    EXPECT_EQ(s.volume, 100); // 250 is out of range, 7O is not a number: the default
    EXPECT_FALSE(s.mute);
    EXPECT_EQ(problems.size(), 3u);

    problems.clear();
    const Settings ok = parseSettings("volume=0\nmute=true\nfullscreen=false", problems);
    EXPECT_EQ(ok.volume, 0);
    EXPECT_TRUE(ok.mute);
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
    EXPECT_EQ(readAll(path), "difficulty=hard\nvolume=50\nfullscreen=true\nmute=false\n");
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

} // namespace
