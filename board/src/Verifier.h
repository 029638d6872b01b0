#pragma once
#include <cstdint>
#include <optional>
#include <string>

// What a child may spend proving one run.
struct VerifierLimits {
    int cpu_seconds = 10;
    int wall_seconds = 20;
    long memory_mb = 512; // 0: no cap (a sanitizer's shadow memory needs terabytes of address space)
    int open_files = 64;
};

// The outcome of playing a run again.
struct Verdict {
    std::optional<std::int64_t> score; // set when the replay matched its recording
    std::string why;                    // otherwise, what went wrong
};

// Plays the replay in file again with the game's own `--verify` in a child process, under the limits:
// a run that hangs, crashes or spends too much ends its child, never the board.
[[nodiscard]] Verdict verifyInChild(const std::string& game, const std::string& file, const VerifierLimits& limits);
