#include "core/Game.h"
#include "online/BoardAddress.h"
#include "online/BoardLink.h"
#include "replay/Verify.h"
#include "scenes/SceneMain.h"
#include "shell/CommandLine.h"
#include "shell/LogFile.h"
#include "shell/Platform.h"
#include "shell/Preferences.h"

#include <SDL3/SDL_main.h> // on Windows, the entry point SDL wraps around main

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> renderDrivers() {
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(SDL_GetNumRenderDrivers()));
    for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i)
        names.emplace_back(SDL_GetRenderDriver(i));
    return names;
}

} // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::vector<std::string> renderers = renderDrivers();
    LaunchOptions options = parseCommandLine(arguments, renderers);
    const std::string usage = usageText("moonvale", renderers);
    if (!options.error.empty()) {
        (void)std::fprintf(stderr, "moonvale: %s\n%s", options.error.c_str(), usage.c_str());
        return 2;
    }
    if (options.help) {
        (void)std::fputs(usage.c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("Moonvale " MOONVALE_VERSION);
        return 0;
    }
    // Above the SDL_RENDER_DRIVER variable too: the command line is the more deliberate choice.
    if (!options.renderer.empty()) {
        SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, options.renderer.c_str(), SDL_HINT_OVERRIDE);
    }

    // Found from where the player named them: on Windows the game moves to its own folder next.
    for (std::string* path : {&options.replay, &options.verify}) {
        std::error_code error;
        const std::filesystem::path found = std::filesystem::absolute(*path, error);
        if (!path->empty() && !error) *path = found.string();
    }
    const bool has_assets = enterGameFolder();
    // Played without its pictures, a replay would only seem to differ from its recording.
    if (!has_assets && (!options.verify.empty() || !options.replay.empty())) {
        (void)std::fprintf(stderr, "moonvale: %s: cannot play it: the game's assets are neither here nor beside the game\n",
                           (options.verify.empty() ? options.replay : options.verify).c_str());
        return 2;
    }
    // Checked before anything is written: a check leaves no log and no window behind.
    if (!options.verify.empty()) return verifyReplay(options.verify);
    std::optional<Replay> replay;
    if (!options.replay.empty()) {
        std::string why;
        replay = readReplayFile(options.replay, why);
        if (!replay) {
            (void)std::fprintf(stderr, "moonvale: %s: %s\n", options.replay.c_str(), why.c_str());
            return 2;
        }
    }
    LogFile log;
    if (keepsLogFile()) log.open("moonvale.log");
    std::string started;
    for (const std::string& argument : arguments)
        started += " " + argument;
    logRunHeader(MOONVALE_VERSION, started);
    Game& game = Game::getInstance();
    if (!game.init("Moonvale", 1280, 720)) {
        game.clean();
        return 1;
    }
    fitWindowToPage();
    surviveWindowSystemErrors();
    logDisplayHeader(game.getWindow());
    if (options.fullscreen) game.getPreferences()->setFullscreen(*options.fullscreen, false);
    if (options.mute) game.getPreferences()->setMute(true, false);
    if (options.seed) game.seed(*options.seed);
    if (!replay) {
        const Settings& settings = game.getPreferences()->getSettings();
        // An address given at build time stands behind the player's own; one that is no address is none.
        std::string why;
        const std::string built_in = parseBoardAddress(MOONVALE_DEFAULT_BOARD, why).value_or("");
        const std::string& address = settings.board_url.empty() ? built_in : settings.board_url;
        game.setBoardLink(BoardLink::open(address, settings.board_send, settings.board_name, options.board));
        if (options.watch_rank > 0) {
            if (BoardLink* link = game.getBoardLink()) {
                link->requestWatch(options.watch_date, options.watch_rank);
            } else {
                SDL_Log("--watch %s/%d: no board to watch it on (--board URL, or board_url in settings.ini)",
                        options.watch_date.c_str(), options.watch_rank);
            }
        }
    }
    if (replay) {
        SDL_Log("Watching %s: seed %u, %u frames, recorded by Moonvale %s on %s", options.replay.c_str(),
                replay->seed, replay->frame_count, replay->game_version.c_str(), replay->platform.c_str());
        game.playBack(std::move(*replay));
        game.changeScene(new SceneMain);
    }
    runMainLoop(game);
    return 0;
}
