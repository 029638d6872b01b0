// The main scene timed in a browser, frame by frame as the page's animation callback runs it: for each
// enemy count, the median time the game spends in a callback (update and render) and the median period
// between callbacks, which is what the player sees. The game picks its renderer, unless --renderer
// NAME does; the canvas has the size the page gives it.
#include "Scenario.h"
#include "core/Game.h"
#include "scenes/SceneMain.h"
#include "shell/Platform.h"

#include <SDL3/SDL.h>

#include <algorithm>
#include <cstdio>
#include <emscripten.h>
#include <string>
#include <vector>

namespace {

constexpr int kWarmUp = 30;
constexpr int kFrames = 120;
constexpr int kCounts[] = {0, 100, 1000};

struct Run {
    Game* game = nullptr;
    SceneMain* scene = nullptr;
    size_t count = 0;
    int frame = 0;
    Uint64 last = 0;
    std::vector<double> work_ms, period_ms;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

void frame(void* argument) {
    Run& run = *static_cast<Run*>(argument);
    const Uint64 start = SDL_GetTicksNS();
    if (run.frame == 0) setEnemies(*run.game, run.scene, kCounts[run.count]);
    if (run.frame > kWarmUp) run.period_ms.push_back(static_cast<double>(start - run.last) / 1e6);
    run.last = start;
    run.scene->update(1.0f / 60.0f);
    run.game->render();
    if (run.frame >= kWarmUp) run.work_ms.push_back(static_cast<double>(SDL_GetTicksNS() - start) / 1e6);
    if (++run.frame < kWarmUp + kFrames) return;
    int w = 0;
    int h = 0;
    SDL_GetCurrentRenderOutputSize(run.game->getRenderer(), &w, &h);
    std::printf("| %s | %d x %d | %d | %.2f | %.2f |\n", SDL_GetRendererName(run.game->getRenderer()), w, h,
                kCounts[run.count], median(run.work_ms), median(run.period_ms));
    run.frame = 0;
    run.work_ms.clear();
    run.period_ms.clear();
    if (++run.count < std::size(kCounts)) return;
    std::printf("bench done\n");
    emscripten_cancel_main_loop();
}

} // namespace

int main(int argc, char** argv) {
    bool restore = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--renderer" && i + 1 < argc) SDL_SetHint(SDL_HINT_RENDER_DRIVER, argv[i + 1]);
        if (std::string(argv[i]) == "--restore") restore = true;
    }
    SDL_SetHint(SDL_HINT_AUDIO_DRIVER, "dummy");
    static Run run;
    run.game = &Game::getInstance();
    if (!run.game->init("Moonvale", 1280, 720)) return 1;
    fitWindowToPage();
    run.game->seed(8);
    if (restore) {
        // A ten-minute run kept at its end, in the page's storage, and continued.
        const RestoreTimes times = measureRestore(*run.game);
        std::printf("restore | %u | %u | %.3f (%.3f) | %.3f (%.3f) | %.3f | %s |\n", times.frames, times.bytes,
                    times.snapshot_ms, times.snapshot_median_ms, times.keep_ms, times.keep_median_ms, times.restore_s,
                    times.restored ? "yes" : "NO");
        std::printf("bench done\n");
        return 0;
    }
    run.scene = startBenchScene(*run.game);
    emscripten_set_main_loop_arg(frame, &run, 0, true);
    return 0;
}
