// Times the real main scene at a range of enemy counts against two references drawn from one recorded
// frame: a replay of exactly the SDL calls the game made, and the same picture in the cheapest SDL
// calls known for the renderer at hand. Headless on SDL's software renderer by default; with --window,
// in a real window (run it under X) with the renderer the game picks itself, or the one --renderer
// names. --pacing (under X) measures the real loop's frame period instead. --board-hang times the frames
// while a daily run is being sent to a board that takes the connection and never answers.
#include "Cheapest.h"
#include "DrawLog.h"
#include "Scenario.h"
#include "core/Game.h"
#include "online/BoardSender.h"
#include "online/DeviceKey.h"
#include "scenes/SceneMain.h"
#include "scenes/SceneTitle.h"
#include "shell/RendererChoice.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr float kDt = 1.0f / 60.0f;
constexpr double kBudgetMs = 1000.0 / 60.0;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
    }
    return 0;
}

std::string cpuName() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    }
    return "unknown CPU";
}

struct Row {
    int enemies;
    double update_ms, render_ms, replay_ms, cheapest_ms;
    long rss_kib;
    long differing_pixels; // between the game's frame and the cheapest picture
};

// The canvas as the next present would show it, as 32-bit pixels.
std::vector<Uint32> canvas(SDL_Renderer* renderer) {
    SDL_Surface* read = SDL_RenderReadPixels(renderer, nullptr);
    SDL_Surface* rgba = read ? SDL_ConvertSurface(read, SDL_PIXELFORMAT_RGBA32) : nullptr;
    std::vector<Uint32> pixels;
    if (rgba) {
        for (int y = 0; y < rgba->h; ++y) {
            const auto* row = static_cast<const Uint32*>(rgba->pixels) + y * rgba->pitch / 4;
            pixels.insert(pixels.end(), row, row + rgba->w);
        }
    }
    SDL_DestroySurface(rgba);
    SDL_DestroySurface(read);
    return pixels;
}

long differingPixels(Game& game, Scene* scene, const CheapestPicture& cheapest) {
    SDL_Renderer* renderer = game.getRenderer();
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    scene->render();
    const std::vector<Uint32> game_frame = canvas(renderer);
    cheapest.draw(false);
    const std::vector<Uint32> cheap_frame = canvas(renderer);
    if (game_frame.size() != cheap_frame.size()) return -1;
    long differing = 0;
    for (size_t i = 0; i < game_frame.size(); ++i)
        differing += game_frame[i] != cheap_frame[i] ? 1 : 0;
    return differing;
}

template <typename F> double timedMedian(int frames, F&& draw) {
    std::vector<double> ms;
    for (int i = 0; i < frames; ++i) {
        const Uint64 start = SDL_GetTicksNS();
        draw();
        ms.push_back(msSince(start));
    }
    return median(ms);
}

Row measure(Game& game, SceneMain* scene, int enemies, int frames) {
    setEnemies(game, scene, enemies);
    for (int i = 0; i < 20; ++i) {
        scene->update(kDt);
        game.render();
    }
    std::vector<double> update_ms, render_ms;
    for (int i = 0; i < frames; ++i) {
        Uint64 start = SDL_GetTicksNS();
        scene->update(kDt);
        update_ms.push_back(msSince(start));
        drawLog().clear();
        drawLog().recording = i == frames - 1; // the last real frame is the one both references draw
        start = SDL_GetTicksNS();
        game.render();
        render_ms.push_back(msSince(start));
        drawLog().recording = false;
    }
    const CheapestPicture cheapest(game.getRenderer(), drawLog());
    const long differing =
        differingPixels(game, scene, cheapest); // also makes its textures before the timing
    const double replay_ms = timedMedian(frames, [&] { replay(game.getRenderer(), drawLog()); });
    const double cheapest_ms = timedMedian(frames, [&] { cheapest.draw(); });
    return {enemies,     median(update_ms),   median(render_ms), replay_ms,
            cheapest_ms, statusKiB("VmRSS:"), differing};
}

std::string rendererDescription(Game& game) {
    const std::string gl = glRendererOf(game.getRenderer());
    return SDL_GetRendererName(game.getRenderer()) + (gl.empty() ? "" : " on " + gl);
}

int table(Game& game, const std::vector<int>& counts, bool window, double startup_ms) {
    SceneMain* scene = startBenchScene(game);
    std::vector<Row> rows;
    rows.reserve(counts.size());
    for (int enemies : counts)
        rows.push_back(measure(game, scene, enemies, 120));
    std::printf("%s, renderer %s, %s; %s, %u cores\n", window ? "In a window" : "Headless",
                rendererDescription(game).c_str(), "1280 x 720, medians over 120 frames", cpuName().c_str(),
                std::thread::hardware_concurrency());
    std::printf("Start to the first frame: %.0f ms\n\n", startup_ms);
    std::printf("| enemies | update ms | render ms | frame ms | of 16.67 ms | replay ms | cheapest ms | "
                "game / cheapest | resident MiB |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const Row& r : rows) {
        const double frame = r.update_ms + r.render_ms;
        std::printf("| %d | %.3f | %.3f | %.3f | %.0f %% | %.3f | %.3f | %.2f | %.1f |\n", r.enemies,
                    r.update_ms, r.render_ms, frame, 100.0 * frame / kBudgetMs, r.replay_ms, r.cheapest_ms,
                    frame / r.cheapest_ms, static_cast<double>(r.rss_kib) / 1024.0);
    }
    std::printf("\npeak resident %.1f MiB; pixels where the cheapest picture differs from the game's:",
                static_cast<double>(statusKiB("VmHWM:")) / 1024.0);
    for (const Row& r : rows)
        std::printf(" %ld", r.differing_pixels);
    std::printf("\n\n");
    return 0;
}

// At a window's scale other than 1 (1000 x 800: 0.78) the game draws the frame 1:1 and scales it as one;
// against every picture drawn straight at that scale, the way it once was, in one run.
int scaledTable(Game& game, int width, int height) {
    SDL_SetWindowSize(game.getWindow(), width, height);
    SDL_SyncWindow(game.getWindow());
    SceneMain* scene = startBenchScene(game);
    std::printf("Headless, renderer %s, a %d x %d window, medians over 120 frames; %s\n\n",
                rendererDescription(game).c_str(), width, height, cpuName().c_str());
    std::printf("| enemies | frame ms, scaled as one | frame ms, drawn straight | one / straight |\n");
    std::printf("|---:|---:|---:|---:|\n");
    for (int enemies : {0, 100, 1000}) {
        setEnemies(game, scene, enemies);
        std::array<double, 2> ms{};
        for (const bool whole : {true, false}) {
            game.setScaledFrame(whole);
            for (int i = 0; i < 20; ++i)
                game.render();
            ms[whole ? 0 : 1] = timedMedian(120, [&] {
                scene->update(kDt);
                game.render();
            });
        }
        std::printf("| %d | %.3f | %.3f | %.2f |\n", enemies, ms[0], ms[1], ms[0] / ms[1]);
    }
    std::printf("\n");
    return 0;
}

// The title scene as the game runs it, noting when each frame's update starts.
class PacedTitle : public SceneTitle {
public:
    void update(float dt) override {
        stamps_.push_back(SDL_GetTicksNS());
        SceneTitle::update(dt);
        if (stamps_.size() > 600) game_.quit();
    }
    const std::vector<Uint64>& stamps() const { return stamps_; }

private:
    std::vector<Uint64> stamps_;
};

int pacing(Game& game) {
    auto* title = new PacedTitle;
    game.changeScene(title);
    game.run();
    std::vector<double> periods;
    const auto& stamps = title->stamps();
    for (size_t i = 1; i < stamps.size(); ++i)
        periods.push_back(static_cast<double>(stamps[i] - stamps[i - 1]) / 1e6);
    std::vector<double> sorted = periods;
    std::sort(sorted.begin(), sorted.end());
    std::printf(
        "pacing over %zu frames: median %.3f ms (budget %.3f ms), 5th percentile %.3f ms, 95th %.3f ms\n",
        periods.size(), median(periods), kBudgetMs, sorted[sorted.size() / 20],
        sorted[sorted.size() * 19 / 20]);
    return 0;
}

// The slowest frames of the main scene at 100 enemies, with nothing else and then while a run is sent to
// a board on 127.0.0.1 that never answers, until that exchange has timed out (10 s) and is retried.
int boardHang(Game& game) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(listener, 4) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return 1;
    SceneMain* scene = startBenchScene(game);
    setEnemies(game, scene, 100);
    const auto frames = [&](const std::function<bool()>& more) {
        std::vector<double> ms;
        while (more()) {
            const Uint64 start = SDL_GetTicksNS();
            scene->update(kDt);
            game.render();
            ms.push_back(msSince(start));
        }
        std::sort(ms.begin(), ms.end());
        return ms;
    };
    const Uint64 quiet_start = SDL_GetTicksNS();
    const std::vector<double> quiet = frames([&] { return msSince(quiet_start) < 3000.0; });
    BoardSender::Config config;
    config.address = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    config.key = DeviceKey::make().value_or(std::string(64, '0'));
    config.queue_folder = "bench-board-queue";
    config.today = [] { return std::string("2026-12-10"); };
    BoardSender sender(config);
    const std::string ticket = sender.queue("2026-12-10", std::string(4096, 'x'));
    const Uint64 hang_start = SDL_GetTicksNS();
    const std::vector<double> hanging = frames([&] {
        const BoardSender::State state = sender.statusOf(ticket).state;
        return state != BoardSender::State::WAITING && state != BoardSender::State::OFFLINE &&
               msSince(hang_start) < 15000.0;
    });
    const double waited = msSince(hang_start) / 1000.0;
    close(listener);
    std::filesystem::remove_all("bench-board-queue");
    const auto line = [](const char* what, const std::vector<double>& ms) {
        std::printf("| %s | %zu | %.3f | %.3f | %.3f | %zu |\n", what, ms.size(), median(ms), ms[ms.size() * 99 / 100],
                    ms.back(), static_cast<size_t>(std::count_if(ms.begin(), ms.end(), [](double m) { return m > kBudgetMs; })));
    };
    std::printf("Main scene at 100 enemies, renderer %s, frames as fast as they go; %s\n\n", rendererDescription(game).c_str(),
                cpuName().c_str());
    std::printf("| | frames | median ms | 99th percentile ms | slowest ms | over %.1f ms |\n|---|---:|---:|---:|---:|---:|\n",
                kBudgetMs);
    line("no board", quiet);
    line("sending to a board that never answers", hanging);
    std::printf("\nthe send waited %.1f s before the sender gave up on it and set a retry\n\n", waited);
    return 0;
}

// A ten-minute run kept and continued.
int restore(Game& game) {
    const RestoreTimes times = measureRestore(game);
    std::printf("A ten-minute run (%u frames, %u bytes kept, score %d, %d enemies at its end), headless; %s\n\n",
                times.frames, times.bytes, times.score, times.enemies, cpuName().c_str());
    std::printf("| kept every 5 s: in the frame, slowest (median) ms | on the keeper's thread, slowest (median) ms | "
                "continuing it s | restored |\n|---:|---:|---:|---|\n");
    std::printf("| %.3f (%.3f) | %.3f (%.3f) | %.3f | %s |\n\n", times.snapshot_ms, times.snapshot_median_ms,
                times.keep_ms, times.keep_median_ms, times.restore_s, times.restored ? "yes" : "NO");
    return times.restored ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const Uint64 start = SDL_GetTicksNS();
    bool pace = false;
    bool window = false;
    bool board_hang = false;
    bool keep_run = false;
    std::array<int, 2> scaled_size{};
    std::vector<int> counts = {0, 100, 500, 1000, 2000, 5000};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--pacing") pace = true;
        if (arg == "--board-hang") board_hang = true;
        if (arg == "--restore") keep_run = true;
        if (arg == "--window") window = true;
        if (arg == "--renderer" && i + 1 < argc) SDL_SetHint(SDL_HINT_RENDER_DRIVER, argv[++i]);
        if (arg == "--enemies" && i + 1 < argc) counts = {std::atoi(argv[++i])};
        if (arg == "--scaled" && i + 2 < argc) {
            scaled_size = {std::atoi(argv[i + 1]), std::atoi(argv[i + 2])};
            i += 2;
        }
    }
    if (!pace && !window) {
        SDL_SetHint(SDL_HINT_VIDEO_DRIVER, "dummy");
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    }
    SDL_SetHint(SDL_HINT_AUDIO_DRIVER, "dummy");
    Game& game = Game::getInstance();
    if (!game.init("Moonvale", 1280, 720)) {
        game.clean();
        return 1;
    }
    game.frame(); // the title's first frame, as a player would see it
    const double startup_ms = msSince(start);
    game.seed(8);
    const int result = keep_run             ? restore(game)
                       : board_hang         ? boardHang(game)
                       : pace               ? pacing(game)
                       : scaled_size[0] > 0 ? scaledTable(game, scaled_size[0], scaled_size[1])
                                            : table(game, counts, window, startup_ms);
    game.clean();
    return result;
}
