#include "assets/AssetStore.h"
#include "components/Texture.h"
#include "core/Game.h"
#include "core/SdlHandles.h"
#include "support/Probe.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr SDL_FColor kYellow = {1.0f, 1.0f, 0.0f, 1.0f};

struct GameServicesTest : ::testing::Test {
    void SetUp() override {
        renderer = game.getRenderer();
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
    }
    bool lit(int x, int y) { return !isBlack(readPixel(renderer, x, y)); }

    Game& game = Game::getInstance();
    SDL_Renderer* renderer = nullptr;
    TempDir dir;
};

TEST_F(GameServicesTest, TextureMaskKeepsTheLeftAndBottomPartsInPlace) {
    writeQuadrantPng(dir.file("quad.png"), 40, 40);
    const Texture texture(dir.file("quad.png"));
    ASSERT_NE(texture.texture, nullptr);
    EXPECT_EQ(texture.src_rect.w, 40.0f);
    game.renderTexture(texture, {100, 100}, {200, 200}, {0.5f, 1.0f});
    EXPECT_EQ(readPixel(renderer, 150, 150).r, 255); // top-left quadrant, left half of the box
    EXPECT_EQ(readPixel(renderer, 150, 250).b, 255); // bottom-left
    EXPECT_FALSE(lit(250, 150));                     // right half stays empty
    SDL_RenderClear(renderer);
    game.renderTexture(texture, {100, 100}, {200, 200}, {1.0f, 0.25f});
    EXPECT_FALSE(lit(150, 200));
    EXPECT_FALSE(lit(150, 140));
    const SDL_Color bottom_left = readPixel(renderer, 140, 280);
    EXPECT_EQ(bottom_left.b, 255);
    EXPECT_EQ(bottom_left.r, 0);
    EXPECT_EQ(readPixel(renderer, 260, 280).r, 255); // white, bottom right
    SDL_RenderClear(renderer);
    game.renderTexture(texture, {100, 100}, {200, 200}, {1.0f, 0.0f});
    EXPECT_FALSE(lit(200, 200));
    EXPECT_FALSE(lit(200, 299));
}

TEST_F(GameServicesTest, WholeMultipleScalingDrawsExactlyWhatPlainScalingDraws) {
    writeQuadrantPng(dir.file("quad.png"), 10, 6);
    Texture texture(dir.file("quad.png"));
    SDL_SetTextureScaleMode(texture.texture, SDL_SCALEMODE_NEAREST);
    struct Case {
        glm::vec2 size, mask;
        bool flip;
    };
    for (const Case& c :
         {Case{{20, 12}, {1, 1}, false}, Case{{30, 18}, {0.5f, 1}, true}, Case{{40, 24}, {1, 0.5f}, false}}) {
        texture.is_flip = c.flip;
        SDL_RenderClear(renderer);
        game.renderTexture(texture, {101, 53}, c.size, c.mask);
        SurfacePtr ours(SDL_RenderReadPixels(renderer, nullptr));
        SDL_RenderClear(renderer);
        const SDL_FRect& r = texture.src_rect;
        const SDL_FRect src = {r.x, r.y + r.h * (1 - c.mask.y), r.w * c.mask.x, r.h * c.mask.y};
        const SDL_FRect dst = {101, 53 + c.size.y * (1 - c.mask.y), c.size.x * c.mask.x, c.size.y * c.mask.y};
        SDL_RenderTextureRotated(renderer, texture.texture, &src, &dst, 0.0, nullptr,
                                 c.flip ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE);
        SurfacePtr plain(SDL_RenderReadPixels(renderer, nullptr));
        ASSERT_TRUE(ours && plain);
        // Colour only: the window's alpha is never shown.
        int differing = 0;
        for (int y = 0; y < ours->h; ++y) {
            for (int x = 0; x < ours->w; ++x) {
                SDL_Color a{}, b{};
                SDL_ReadSurfacePixel(ours.get(), x, y, &a.r, &a.g, &a.b, &a.a);
                SDL_ReadSurfacePixel(plain.get(), x, y, &b.r, &b.g, &b.b, &b.a);
                differing += a.r != b.r || a.g != b.g || a.b != b.b;
            }
        }
        EXPECT_EQ(differing, 0) << c.size.x << " wide";
    }
}

TEST_F(GameServicesTest, FlipMirrorsThePicture) {
    writeQuadrantPng(dir.file("quad.png"), 40, 40);
    Texture texture(dir.file("quad.png"));
    texture.is_flip = true;
    game.renderTexture(texture, {100, 100}, {200, 200}, {1.0f, 1.0f});
    EXPECT_EQ(readPixel(renderer, 150, 150).g, 255); // top right of the picture, now on the left
    EXPECT_EQ(readPixel(renderer, 150, 150).r, 0);
    EXPECT_EQ(readPixel(renderer, 250, 150).r, 255);
}

TEST_F(GameServicesTest, EveryDrawingServiceLeavesTheColourOpaqueBlack) {
    const std::vector<glm::vec2> points = {{1, 1}};
    const std::function<void()> services[] = {
        [&] {
            game.renderHBar({0, 0}, {10, 10}, 0.5f, kYellow);
        },
        [&] {
            game.drawGrid({0, 0}, {10, 10}, 5, kYellow);
        },
        [&] {
            game.drawBoundary({0, 0}, {10, 10}, 2, kYellow);
        },
        [&] {
            game.drawPoints(points, {0, 0}, kYellow);
        },
    };
    for (const auto& service : services) {
        SDL_SetRenderDrawColor(renderer, 9, 9, 9, 9);
        service();
        Uint8 r = 1, g = 1, b = 1, a = 0;
        SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
        EXPECT_EQ(r + g + b, 0);
        EXPECT_EQ(a, 255);
    }
}

TEST_F(GameServicesTest, BarDrawsItsOutlineAndFillsItsLeftPart) {
    game.renderHBar({100, 100}, {100, 20}, 0.0f, kYellow);
    EXPECT_TRUE(lit(100, 110));
    EXPECT_TRUE(lit(199, 110));
    EXPECT_FALSE(lit(150, 110));
    game.renderHBar({100, 200}, {100, 20}, 0.5f, kYellow);
    EXPECT_TRUE(lit(140, 210));
    EXPECT_FALSE(lit(160, 210));
    game.renderHBar({100, 300}, {100, 20}, 1.0f, kYellow);
    EXPECT_TRUE(lit(195, 310));
    // The draw colour is black again for the next caller.
    SDL_RenderFillRect(renderer, nullptr);
    EXPECT_FALSE(lit(150, 310));
}

TEST_F(GameServicesTest, GridIncludesBothEndsOfAWholeNumberOfSteps) {
    game.drawGrid({0, 0}, {240, 160}, 80, kYellow);
    for (int x : {0, 80, 160, 240})
        EXPECT_TRUE(lit(x, 40)) << x;
    for (int y : {0, 80, 160})
        EXPECT_TRUE(lit(40, y)) << y;
    EXPECT_FALSE(lit(40, 40));
    EXPECT_FALSE(lit(320, 40)); // one step past the end
    EXPECT_FALSE(lit(40, 240));
}

TEST_F(GameServicesTest, GridOverTheWholeWorldHas49ColumnsAnd28Rows) {
    // Drawn into a target as large as the world, so that every line can be seen.
    TexturePtr world(
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_TARGET, 3841, 2161));
    ASSERT_TRUE(world) << SDL_GetError();
    SDL_SetRenderTarget(renderer, world.get());
    SDL_RenderClear(renderer);
    game.drawGrid({0, 0}, {3840, 2160}, 80, kYellow);
    int columns = 0;
    for (int x = 0; x <= 3840; x += 40)
        columns += lit(x, 10);
    int rows = 0;
    for (int y = 0; y <= 2160; y += 40)
        rows += lit(10, y);
    SDL_SetRenderTarget(renderer, nullptr);
    EXPECT_EQ(columns, 49);
    EXPECT_EQ(rows, 28);
}

TEST_F(GameServicesTest, BoundaryGrowsOutwardsAndNeverInside) {
    game.drawBoundary({100, 100}, {200, 200}, 5, kYellow);
    EXPECT_TRUE(lit(100, 150));
    EXPECT_TRUE(lit(96, 150)); // outermost outline, 4 px out
    EXPECT_FALSE(lit(95, 150));
    EXPECT_FALSE(lit(101, 150));
    SDL_RenderClear(renderer);
    game.drawBoundary({100, 100}, {200, 200}, 0, kYellow);
    EXPECT_FALSE(lit(100, 150));
}

TEST_F(GameServicesTest, PointsLandAtPointPlusOffset) {
    const std::vector<glm::vec2> points = {{10, 10}, {20, 30}};
    game.drawPoints(points, {100, 200}, kYellow);
    EXPECT_TRUE(lit(110, 210));
    EXPECT_TRUE(lit(120, 230));
    EXPECT_FALSE(lit(10, 10));
    game.drawPoints({}, {0, 0}, kYellow); // nothing to draw is fine
}

TEST_F(GameServicesTest, MouseRectIncludesEveryEdge) {
    const glm::vec2 a(10, 20);
    const glm::vec2 b(30, 40);
    for (glm::vec2 p : {a, b, glm::vec2(10, 40), glm::vec2(30, 20), glm::vec2(20, 30)}) {
        game.setMouseState(p, 0);
        EXPECT_TRUE(game.isMouseInRect(a, b)) << p.x << "," << p.y;
    }
    for (glm::vec2 p : {glm::vec2(9.99f, 30), glm::vec2(20, 40.01f)}) {
        game.setMouseState(p, 0);
        EXPECT_FALSE(game.isMouseInRect(a, b));
    }
}

TEST_F(GameServicesTest, MouseMapsToTheCanvasAtAnyWindowShape) {
    SDL_Window* window = game.getWindow();
    SDL_SetWindowAspectRatio(window, 0.0f, 0.0f);
    const struct {
        int w, h;
        float wx, wy;
        glm::vec2 expected;
    } cases[] = {
        {1920, 1080, 960, 540, {640, 360}},
        {1920, 1080, 0, 0, {0, 0}},
        {1280, 1000, 640, 140, {640, 0}},        // letterboxed: bars above and below
        {2560, 720, 640 + 640, 360, {640, 360}}, // pillarboxed: bars left and right
    };
    for (const auto& c : cases) {
        SDL_SetWindowSize(window, c.w, c.h);
        SDL_SyncWindow(window);
        SDL_SetRenderLogicalPresentation(renderer, 1280, 720, SDL_LOGICAL_PRESENTATION_LETTERBOX);
        SDL_WarpMouseInWindow(window, c.wx, c.wy);
        SDL_PumpEvents();
        float x = 0, y = 0;
        SDL_RenderCoordinatesFromWindow(renderer, c.wx, c.wy, &x, &y);
        EXPECT_NEAR(x, c.expected.x, 0.5f) << c.w << "x" << c.h;
        EXPECT_NEAR(y, c.expected.y, 0.5f) << c.w << "x" << c.h;
    }
    SDL_SetWindowSize(window, 1920, 1080);
    SDL_SyncWindow(window);
    SDL_WarpMouseInWindow(window, 960, 540);
    SDL_PumpEvents();
    game.updateMouse();
    EXPECT_NEAR(game.getMousePosition().x, 640.0f, 0.5f);
    EXPECT_NEAR(game.getMousePosition().y, 360.0f, 0.5f);
}

TEST_F(GameServicesTest, RandomFloatsStayInTheirHalfOpenRange) {
    EXPECT_EQ(game.randomFloat(3.5f, 3.5f), 3.5f);
    for (int i = 0; i < 1000; ++i) {
        const float f = game.randomFloat(-2.0f, 5.0f);
        EXPECT_GE(f, -2.0f);
        EXPECT_LT(f, 5.0f);
        const glm::vec2 v = game.randomVec2({0, 100}, {10, 101});
        EXPECT_TRUE(v.x >= 0 && v.x < 10 && v.y >= 100 && v.y < 101);
    }
}

TEST_F(GameServicesTest, TextFilesEndEveryLineWithANewline) {
    writeText(dir.file("a.txt"), "first\nsecond");
    writeText(dir.file("b.txt"), "first\nsecond\n");
    writeText(dir.file("empty.txt"), "");
    writeText(dir.file("crlf.txt"), "first\r\nsecond\r\n");
    EXPECT_EQ(game.loadTextFile(dir.file("a.txt")), "first\nsecond\n");
    EXPECT_EQ(game.loadTextFile(dir.file("b.txt")), "first\nsecond\n");
    EXPECT_EQ(game.loadTextFile(dir.file("empty.txt")), "");
    EXPECT_EQ(game.loadTextFile(dir.file("crlf.txt")), "first\nsecond\n"); // no stray carriage returns
    EXPECT_EQ(game.loadTextFile(dir.file("missing.txt")), "");
}

struct GameAudioTest : GameServicesTest {
    void SetUp() override {
        GameServicesTest::SetUp();
        ASSERT_NE(game.getMixer(), nullptr);
        writeToneWav(dir.file("tone.wav"), 5.0f);
        sound = dir.file("tone.wav");
    }
    int busyTracks() {
        int busy = 0;
        for (int i = 0; i < Game::EFFECT_TRACKS; ++i) {
            MIX_Track* t = game.getEffectTrack(i);
            busy += MIX_TrackPlaying(t) || MIX_TrackPaused(t);
        }
        return busy;
    }
    std::string sound;
};

TEST_F(GameAudioTest, EffectsTakeTheFirstFreeTrackAndDropWhenAllAreBusy) {
    game.playSound(sound);
    EXPECT_TRUE(MIX_TrackPlaying(game.getEffectTrack(0)));
    EXPECT_EQ(busyTracks(), 1);
    for (int i = 0; i < 20; ++i)
        game.playSound(sound);
    EXPECT_EQ(busyTracks(), Game::EFFECT_TRACKS);
    EXPECT_EQ(MIX_GetTrackLoops(game.getEffectTrack(0)), 0); // once
    EXPECT_FLOAT_EQ(MIX_GetTrackGain(game.getEffectTrack(5)), 0.25f);
}

TEST_F(GameAudioTest, PausedEffectsStayBusyAndANewOnePlays) {
    game.playSound(sound);
    game.playSound(sound);
    game.pauseSound();
    EXPECT_TRUE(MIX_TrackPaused(game.getEffectTrack(0)));
    EXPECT_TRUE(MIX_TrackPaused(game.getEffectTrack(1)));
    game.playSound(sound);
    EXPECT_TRUE(MIX_TrackPlaying(game.getEffectTrack(2)));
    game.resumeSound();
    EXPECT_TRUE(MIX_TrackPlaying(game.getEffectTrack(0)));
    EXPECT_EQ(busyTracks(), 3);
}

TEST_F(GameAudioTest, MusicLoopsForEverAndPausesOnItsOwn) {
    game.playMusic(sound, true);
    MIX_Track* music = game.getMusicTrack();
    EXPECT_TRUE(MIX_TrackPlaying(music));
    EXPECT_EQ(MIX_GetTrackLoops(music), -1);
    EXPECT_FLOAT_EQ(MIX_GetTrackGain(music), 0.25f);
    game.playSound(sound);
    game.pauseMusic();
    EXPECT_TRUE(MIX_TrackPaused(music));
    EXPECT_TRUE(MIX_TrackPlaying(game.getEffectTrack(0)));
    game.resumeMusic();
    EXPECT_TRUE(MIX_TrackPlaying(music));
    writeToneWav(dir.file("other.wav"), 3.0f, 220.0f);
    game.playMusic(dir.file("other.wav"), false);
    EXPECT_EQ(MIX_GetTrackLoops(music), 0);
    EXPECT_EQ(MIX_GetTrackAudio(music), game.getAssetStore()->getMusic(dir.file("other.wav")));
}

TEST_F(GameAudioTest, ScenePauseSilencesEffectsAndMusic) {
    Scene* scene = installWorldScene();
    game.playMusic(sound, true);
    game.playSound(sound);
    scene->pause();
    EXPECT_TRUE(MIX_TrackPaused(game.getMusicTrack()));
    EXPECT_TRUE(MIX_TrackPaused(game.getEffectTrack(0)));
    scene->resume();
    EXPECT_TRUE(MIX_TrackPlaying(game.getMusicTrack()));
    EXPECT_TRUE(MIX_TrackPlaying(game.getEffectTrack(0)));
}

} // namespace
