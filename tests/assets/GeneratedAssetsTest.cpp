#include "TestPaths.h"
#include "assets/AssetStore.h"
#include "core/Game.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// The generated tree, checked with the loaders the game itself uses.
struct GeneratedAssetsTest : ::testing::Test {
    glm::vec2 imageSize(const std::string& path) {
        SDL_Texture* texture = store().getImage(path);
        EXPECT_NE(texture, nullptr) << path;
        float w = 0.0f, h = 0.0f;
        if (texture) SDL_GetTextureSize(texture, &w, &h);
        return {w, h};
    }
    AssetStore& store() { return *Game::getInstance().getAssetStore(); }
};

struct Decoded {
    std::vector<float> samples; // interleaved, at the mixer's own format
    int channels = 0;
    int rate = 0;
    float peak = 0.0f;
    float seconds() const { return static_cast<float>(samples.size()) / channels / rate; }
};

Decoded decode(const std::string& path) {
    Decoded d;
    MIX_AudioDecoder* decoder = MIX_CreateAudioDecoder(path.c_str(), 0);
    EXPECT_NE(decoder, nullptr) << path << ": " << SDL_GetError();
    if (!decoder) return d;
    SDL_AudioSpec spec;
    MIX_GetAudioDecoderFormat(decoder, &spec);
    spec.format = SDL_AUDIO_F32;
    d.channels = spec.channels;
    d.rate = spec.freq;
    std::vector<float> buffer(4096);
    int got = 0;
    while ((got = MIX_DecodeAudio(decoder, buffer.data(), static_cast<int>(buffer.size() * sizeof(float)),
                                  &spec)) > 0)
        d.samples.insert(d.samples.end(), buffer.begin(),
                         buffer.begin() + got / static_cast<int>(sizeof(float)));
    MIX_DestroyAudioDecoder(decoder);
    for (float s : d.samples)
        d.peak = std::max(d.peak, std::abs(s));
    return d;
}

TEST_F(GeneratedAssetsTest, SpriteSheetsAreStripsOfSquareFramesOfTheRightSize) {
    const struct {
        const char* path;
        float min_frame, max_frame;
    } sheets[] = {
        {"assets/sprite/ghost-idle.png", 32, 32},
        {"assets/sprite/ghost-move.png", 32, 32},
        {"assets/sprite/ghost-Sheet.png", 32, 32},
        {"assets/sprite/ghostHurt-Sheet.png", 32, 32},
        {"assets/sprite/ghostDead-Sheet.png", 32, 32},
        {"assets/effect/184_3.png", 48, 96},
        {"assets/effect/1764.png", 48, 96},
        {"assets/effect/Thunderstrike w blur.png", 48, 64},
    };
    for (const auto& sheet : sheets) {
        const glm::vec2 size = imageSize(sheet.path);
        EXPECT_GE(size.y, sheet.min_frame) << sheet.path;
        EXPECT_LE(size.y, sheet.max_frame) << sheet.path;
        EXPECT_EQ(std::fmod(size.x, size.y), 0.0f) << sheet.path;
        EXPECT_GE(size.x / size.y, 2.0f) << sheet.path << " should animate";
    }
}

TEST_F(GeneratedAssetsTest, ButtonsComeInTriplesOfOneSizeThatFitTheLayout) {
    const std::pair<const char*, float> buttons[] = {{"A_Start", 96},   {"A_Credits", 96}, {"A_Quit", 96},
                                                     {"A_Options", 96}, {"A_Pause", 80},   {"A_Restart", 80},
                                                     {"A_Back", 80}};
    for (const auto& [name, max_width] : buttons) {
        const std::string base = std::string("assets/UI/") + name;
        const glm::vec2 normal = imageSize(base + "1.png");
        EXPECT_EQ(imageSize(base + "2.png"), normal) << name;
        EXPECT_EQ(imageSize(base + "3.png"), normal) << name;
        EXPECT_LE(normal.x, max_width) << name;
        EXPECT_GT(normal.y, 0.0f);
    }
}

TEST_F(GeneratedAssetsTest, InterfacePiecesFitWhereTheHudPutsThem) {
    for (const char* bar : {"assets/UI/bar_bg.png", "assets/UI/bar_red.png", "assets/UI/bar_blue.png"}) {
        const glm::vec2 size = imageSize(bar);
        EXPECT_LE(size.x, 80.0f) << bar;
        EXPECT_LE(size.y, 12.0f) << bar;
    }
    EXPECT_EQ(imageSize("assets/UI/bar_red.png"), imageSize("assets/UI/bar_bg.png"));
    for (const char* potion : {"assets/UI/Red Potion.png", "assets/UI/Blue Potion.png"}) {
        const glm::vec2 size = imageSize(potion);
        EXPECT_EQ(size.x, size.y);
        EXPECT_LE(size.x, 56.0f);
    }
    const glm::vec2 icon = imageSize("assets/UI/Electric-Icon.png");
    EXPECT_EQ(icon.x, icon.y);
    EXPECT_GE(icon.x, 360.0f);
    EXPECT_LE(icon.x, 512.0f);
    for (const char* image : {"assets/UI/Textfield_01.png", "assets/UI/29.png", "assets/UI/30.png"})
        EXPECT_GT(imageSize(image).x, 0.0f) << image;
    EXPECT_EQ(imageSize("assets/UI/29.png"), imageSize("assets/UI/30.png"));
}

TEST_F(GeneratedAssetsTest, MenuPointerHasItsTipAtTheTopLeftPixel) {
    SDL_Surface* pointer = SDL_LoadPNG("assets/UI/pointer_c_shaded.png");
    ASSERT_NE(pointer, nullptr) << SDL_GetError();
    Uint8 r, g, b, a = 0;
    SDL_ReadSurfacePixel(pointer, 0, 0, &r, &g, &b, &a);
    EXPECT_EQ(a, 255);
    SDL_ReadSurfacePixel(pointer, pointer->w - 1, 0, &r, &g, &b, &a);
    EXPECT_EQ(a, 0);
    SDL_DestroySurface(pointer);
}

TEST_F(GeneratedAssetsTest, EverySoundIsAudibleAndTheyDiffer) {
    const char* sounds[] = {"assets/sound/UI_button12.wav", "assets/sound/UI_button08.wav",
                            "assets/sound/hit-flesh-02-266309.mp3", "assets/sound/female-scream-02-89290.mp3",
                            "assets/sound/silly-ghost-sound-242342.mp3"};
    std::vector<float> lengths;
    for (const char* path : sounds) {
        EXPECT_NE(store().getSound(path), nullptr) << path;
        const Decoded d = decode(path);
        EXPECT_GT(d.peak, 0.25f) << path; // louder than -12 dBFS
        EXPECT_LE(d.peak, 1.0f) << path;
        EXPECT_GT(d.seconds(), 0.03f) << path;
        EXPECT_LT(d.seconds(), 3.0f) << path;
        for (float other : lengths)
            EXPECT_GT(std::abs(d.seconds() - other), 0.01f) << path;
        lengths.push_back(d.seconds());
    }
}

TEST_F(GeneratedAssetsTest, MusicLoopsLastHalfAMinuteAndJoinWithoutAClick) {
    for (const char* path : {"assets/bgm/OhMyGhost.ogg", "assets/bgm/Spooky music.mp3"}) {
        EXPECT_NE(store().getMusic(path), nullptr) << path;
        const Decoded d = decode(path);
        EXPECT_GE(d.seconds(), 30.0f) << path;
        EXPECT_GT(d.peak, 0.3f) << path;
        // Across the seam the wave moves no more than it typically does between neighbouring samples.
        float typical = 0.0f;
        const size_t n = d.samples.size();
        for (size_t i = d.channels; i < n; i += d.channels)
            typical += std::abs(d.samples[i] - d.samples[i - d.channels]);
        typical /= static_cast<float>(n / d.channels);
        const float seam = std::abs(d.samples[0] - d.samples[n - d.channels]);
        EXPECT_LT(seam, 8.0f * typical + 0.01f) << path;
    }
}

TEST_F(GeneratedAssetsTest, FontOpensAtEverySizeTheGameUses) {
    for (int size : {16, 32, 64})
        EXPECT_NE(store().getFont("assets/font/VonwaonBitmap-16px.ttf", size), nullptr) << size;
}

TEST_F(GeneratedAssetsTest, TheSameCommitMakesTheSameFiles) {
    TempDir dir;
    const std::string command =
        std::string(MOONVALE_ASSETGEN) + " " + dir.path().string() + " " + MOONVALE_FONT_SOURCE;
    ASSERT_EQ(std::system(command.c_str()), 0);
    int compared = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
        if (!entry.is_regular_file()) continue;
        const auto relative = std::filesystem::relative(entry.path(), dir.path());
        std::ifstream a(entry.path(), std::ios::binary);
        std::ifstream b("assets" / relative, std::ios::binary);
        const std::string fresh((std::istreambuf_iterator<char>(a)), {});
        const std::string built((std::istreambuf_iterator<char>(b)), {});
        EXPECT_EQ(fresh, built) << relative;
        ++compared;
    }
    EXPECT_EQ(compared, 51); // every picture, sound, tune, the font and the credits
}

} // namespace
