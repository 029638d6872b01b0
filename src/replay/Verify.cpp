#include "replay/Verify.h"

#include "assets/AssetStore.h"
#include "core/Game.h"
#include "scenes/SceneMain.h"

#include <SDL3/SDL.h>

#include <array>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>

std::optional<Replay> readReplayFile(const std::string& path, std::string& why) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        why = "it is a folder, not a replay";
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        why = "cannot open it";
        return std::nullopt;
    }
    // Read through the stream, which turns a read error into a state: the buffer itself would throw.
    std::string bytes;
    std::array<char, 65536> chunk{};
    while (file && bytes.size() <= MAX_REPLAY_BYTES) {
        file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        bytes.append(chunk.data(), static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad()) {
        why = "cannot read it";
        return std::nullopt;
    }
    if (bytes.size() > MAX_REPLAY_BYTES) {
        why = "it is too large to be a replay";
        return std::nullopt;
    }
    auto decoded = decodeReplay(bytes);
    if (const std::string* error = std::get_if<std::string>(&decoded)) {
        why = *error;
        return std::nullopt;
    }
    return std::get<Replay>(std::move(decoded));
}

namespace {

// Where the game played again first parts from the recording: the frame of the first check that
// differs, or of the end.
std::optional<std::uint32_t> firstDifference(const Replay& recorded, const Replay& played) {
    for (std::size_t i = 0; i < recorded.checks.size(); ++i) {
        if (i >= played.checks.size() || !(recorded.checks[i] == played.checks[i]))
            return recorded.checks[i].frame;
    }
    if (played.checks.size() > recorded.checks.size()) return played.checks[recorded.checks.size()].frame;
    if (recorded.final_score != played.final_score || recorded.final_hash != played.final_hash)
        return recorded.frame_count;
    return std::nullopt;
}

} // namespace

int verifyReplay(const std::string& path) {
    std::string why;
    std::optional<Replay> recorded = readReplayFile(path, why);
    if (!recorded) {
        (void)std::fprintf(stderr, "moonvale: %s: %s\n", path.c_str(), why.c_str());
        return 2;
    }
    Game& game = Game::getInstance();
    if (!game.initHeadless()) { // warnings only: the one line below is the answer
        (void)std::fprintf(stderr, "moonvale: cannot start the game to play %s\n", path.c_str());
        return 2;
    }
    const Uint64 start = SDL_GetTicksNS();
    game.playBack(*recorded);
    game.changeScene(new SceneMain);
    while (!game.isPlaybackOver()) {
        game.handleEvents();
        game.update(0.0f);
    }
    game.changeScene(nullptr); // a game that was left rather than lost ends here
    const double seconds = static_cast<double>(SDL_GetTicksNS() - start) / 1e9;
    const Replay& played = game.getRecorder().getLast();
    const int missing = game.getAssetStore()->getFailedImages();
    game.clean();
    if (missing > 0) {
        (void)std::fprintf(stderr, "moonvale: %s: cannot play it here: some of the game's pictures are missing\n",
                           path.c_str());
        return 2;
    }
    const std::optional<std::uint32_t> differs = firstDifference(*recorded, played);
    const std::string assisted =
        played.isAssisted() ? ", assisted at " + std::to_string(played.game_speed) + " % speed" : "";
    std::printf("%s: score %d%s, %u frames in %.2f s, state hash %016" PRIx64 ": %s", path.c_str(),
                played.final_score, assisted.c_str(), played.frame_count, seconds, played.final_hash,
                differs ? "differs from the recording" : "matches the recording");
    if (differs) std::printf(" from frame %u on", *differs);
    std::printf("\n");
    return differs ? 1 : 0;
}
