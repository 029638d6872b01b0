#pragma once
#include "replay/FrameInput.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Equal frames in a row, as the file and the memory keep them: a long pause costs one run.
struct ReplayRun {
    std::uint32_t count = 0;
    FrameInput frame;
    bool operator==(const ReplayRun&) const = default;
};

// A state hash after a frame, taken once every second of game time.
struct ReplayCheck {
    std::uint32_t frame = 0; // how many frames had run
    std::uint64_t hash = 0;
    bool operator==(const ReplayCheck&) const = default;
};

// One recorded game. The simulation version goes up with every change to what a run produces: a
// replay from another one is refused rather than played wrong.
struct Replay {
    static constexpr std::uint16_t FORMAT_VERSION = 1;
    // An assisted game's: the game speed follows the slow-motion byte. Only assisted games are written
    // so, which keeps every other file readable by the versions before and refused there when assisted.
    static constexpr std::uint16_t ASSISTED_FORMAT_VERSION = 2;
    static constexpr std::uint16_t SIMULATION_VERSION = 1;
    static constexpr int FULL_SPEED = 100;

    std::uint16_t simulation_version = SIMULATION_VERSION;
    std::string game_version; // informational, as are the platform and the settings below
    std::string platform;
    std::uint32_t seed = 0;
    bool slow_toggles = false;
    // In percent: below FULL_SPEED the whole world ran that much slower (the assist).
    int game_speed = FULL_SPEED;
    std::vector<ReplayRun> runs;
    std::uint32_t frame_count = 0;

    // Adds a frame, to the last run when it is the same.
    void append(const FrameInput& frame);
    std::vector<ReplayCheck> checks;
    std::int32_t final_score = 0;
    std::uint64_t final_hash = 0;

    bool isAssisted() const { return game_speed != FULL_SPEED; }
};

// The speeds the assist offers, in percent: 50 to 100 in steps of ten.
[[nodiscard]] constexpr bool isGameSpeed(int percent) {
    return percent >= 50 && percent <= Replay::FULL_SPEED && percent % 10 == 0;
}
// A frame's length in the world at that speed.
[[nodiscard]] float atGameSpeed(float dt, int percent);

// The file's bytes (documented in docs/replay-format.md).
[[nodiscard]] std::string encodeReplay(const Replay& replay);
// The CRC-32 (as zlib's) that ends the file, over everything before it.
[[nodiscard]] std::uint32_t replayChecksum(std::string_view bytes);
// The replay in bytes, or why they are not one.
[[nodiscard]] std::variant<Replay, std::string> decodeReplay(std::string_view bytes);
