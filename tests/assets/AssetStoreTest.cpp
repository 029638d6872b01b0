#include "assets/AssetStore.h"

#include "core/Game.h"
#include "support/Probe.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

struct AssetStoreTest : ::testing::Test {
    Game& game = Game::getInstance();
    AssetStore store{game.getRenderer(), game.getMixer()};
    TempDir dir;
};

TEST_F(AssetStoreTest, SecondRequestSharesTheHandleWithoutReadingAgain) {
    const std::string png = dir.file("a.png");
    const std::string wav = dir.file("a.wav");
    writeQuadrantPng(png, 8, 8);
    writeToneWav(wav, 0.1f);
    SDL_Texture* image = store.getImage(png);
    MIX_Audio* sound = store.getSound(wav);
    MIX_Audio* music = store.getMusic(wav);
    ASSERT_NE(image, nullptr);
    ASSERT_NE(sound, nullptr);
    ASSERT_NE(music, nullptr);
    EXPECT_NE(sound, music); // the two caches are separate
    std::filesystem::remove(png);
    std::filesystem::remove(wav);
    EXPECT_EQ(store.getImage(png), image);
    EXPECT_EQ(store.getSound(wav), sound);
    EXPECT_EQ(store.getMusic(wav), music);
}

TEST_F(AssetStoreTest, MissingFileLogsLoadThenGetOnEveryRequest) {
    const std::string path = dir.file("nothing.png");
    LogCapture log;
    EXPECT_EQ(store.getImage(path), nullptr);
    EXPECT_EQ(store.getImage(path), nullptr);
    const std::vector<std::string> expected = {
        "Failed to load image: " + path, "Failed to get image: " + path, "Failed to load image: " + path,
        "Failed to get image: " + path};
    EXPECT_EQ(log.lines(), expected);
    writeQuadrantPng(path, 4, 4); // the failure is not remembered
    EXPECT_NE(store.getImage(path), nullptr);
}

TEST_F(AssetStoreTest, EachKindLogsItsOwnTexts) {
    LogCapture log;
    store.getSound("no.wav");
    store.getMusic("no.ogg");
    store.getFont("no.ttf", 16);
    const std::vector<std::string> expected = {"Failed to load sound: no.wav", "Failed to get sound: no.wav",
                                               "Failed to load music: no.ogg", "Failed to get music: no.ogg",
                                               "Failed to load font: no.ttf",  "Failed to get font: no.ttf"};
    EXPECT_EQ(log.lines(), expected);
}

TEST_F(AssetStoreTest, CleanEmptiesEverythingAndLoadsAfreshAfterwards) {
    const std::string png = dir.file("a.png");
    writeQuadrantPng(png, 8, 8);
    writeToneWav(dir.file("a.wav"), 0.1f);
    store.getImage(png);
    store.getSound(dir.file("a.wav"));
    EXPECT_FALSE(store.empty());
    store.clean();
    EXPECT_TRUE(store.empty());
    EXPECT_NE(store.getImage(png), nullptr);
}

TEST_F(AssetStoreTest, OneFontAtTwoSizesIsTwoEntries) {
    const std::string font = "assets/font/VonwaonBitmap-16px.ttf";
    TTF_Font* small = store.getFont(font, 16);
    TTF_Font* large = store.getFont(font, 32);
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    EXPECT_NE(small, large);
    EXPECT_EQ(TTF_GetFontSize(large), 32.0f);
    EXPECT_EQ(store.getFont(font, 16), small);
}

TEST_F(AssetStoreTest, WithoutAMixerSoundsFailQuietlyToNull) {
    AssetStore silent(game.getRenderer(), nullptr);
    writeToneWav(dir.file("a.wav"), 0.1f);
    LogCapture log;
    EXPECT_EQ(silent.getSound(dir.file("a.wav")), nullptr);
    EXPECT_EQ(log.lines().size(), 2u);
}

} // namespace
