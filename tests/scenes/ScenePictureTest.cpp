// The whole picture of the title and of a game in full swing, pixel for pixel on the software
// renderer, against frames stored when the drawing code was last changed on purpose. Any change to how
// the game draws (caches, batching, cheaper calls) must leave these identical.
// MOONVALE_WRITE_REFERENCE=1 rewrites the stored frames instead.
#include "TestPaths.h"
#include "actors/Player.h"
#include "core/SdlHandles.h"
#include "scenes/SceneMain.h"
#include "scenes/SceneTitle.h"
#include "support/SceneDriver.h"

#include <SDL3_image/SDL_image.h>

#include <cstdlib>
#include <string>

namespace {

constexpr float kDt = 1.0f / 60.0f;

struct ScenePictureTest : SceneDriver {
    void SetUp() override {
        SceneDriver::SetUp();
        ASSERT_STREQ(SDL_GetRendererName(game.getRenderer()), "software");
        game.seed(20261208);
    }
    // The canvas as the next present would show it.
    SurfacePtr draw() {
        SDL_Renderer* renderer = game.getRenderer();
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        game.getCurrentScene()->render();
        SurfacePtr canvas(SDL_RenderReadPixels(renderer, nullptr));
        return SurfacePtr(SDL_ConvertSurface(canvas.get(), SDL_PIXELFORMAT_RGBA32));
    }
    // Differing pixels against the stored frame (or -1 when there is none).
    long compareWith(const std::string& name, SDL_Surface* frame) {
        const std::string path = std::string(MOONVALE_TEST_DATA) + "/" + name;
        if (const char* write = std::getenv("MOONVALE_WRITE_REFERENCE"); write && *write == '1') {
            IMG_SavePNG(frame, path.c_str());
        }
        SurfacePtr loaded(IMG_Load(path.c_str()));
        if (!loaded) return -1;
        SurfacePtr stored(SDL_ConvertSurface(loaded.get(), SDL_PIXELFORMAT_RGBA32));
        if (stored->w != frame->w || stored->h != frame->h) return -1;
        long differing = 0;
        for (int y = 0; y < frame->h; ++y) {
            const auto* a = static_cast<const Uint32*>(frame->pixels) + y * frame->pitch / 4;
            const auto* b = static_cast<const Uint32*>(stored->pixels) + y * stored->pitch / 4;
            for (int x = 0; x < frame->w; ++x)
                differing += a[x] != b[x] ? 1 : 0;
        }
        if (differing) IMG_SavePNG(frame, (name + ".actual.png").c_str());
        return differing;
    }
};

TEST_F(ScenePictureTest, TitleIsDrawnAsStored) {
    game.changeScene(new SceneTitle);
    pointAt({440.0f, 560.0f}); // hovering Start
    for (int i = 0; i < 30; ++i)
        game.update(kDt);
    EXPECT_EQ(compareWith("title-frame.png", draw().get()), 0);
}

TEST_F(ScenePictureTest, GameInFullSwingIsDrawnAsStored) {
    auto* main = new SceneMain;
    game.changeScene(main);
    pointAt({620.0f, 330.0f});
    // A short walk, then two waves closing in (the second still being summoned) and a strike among them.
    for (int i = 0; i < 368; ++i) {
        keys[SDL_SCANCODE_D] = i < 20;
        keys[SDL_SCANCODE_W] = i < 10;
        if (i == 352) {
            push(SDL_EVENT_MOUSE_BUTTON_DOWN, SDL_BUTTON_LEFT);
            push(SDL_EVENT_MOUSE_BUTTON_UP, SDL_BUTTON_LEFT);
        }
        game.handleEvents();
        game.update(kDt);
    }
    keys[SDL_SCANCODE_D] = false;
    keys[SDL_SCANCODE_W] = false;
    ASSERT_TRUE(main->getPlayer()->getIsActive());
    EXPECT_EQ(compareWith("main-frame.png", draw().get()), 0);
}

} // namespace
