#pragma once
#include "replay/Replay.h"

#include <cstddef>
#include <optional>
#include <string>

// Far more than hours of play in a browser's three bytes a frame; a larger file is not read.
constexpr std::size_t MAX_REPLAY_BYTES = std::size_t{64} * 1024 * 1024;

// The replay in the file at path, or nullopt with why it cannot be read in `why`.
[[nodiscard]] std::optional<Replay> readReplayFile(const std::string& path, std::string& why);

// Plays the replay at path without a window or sound, as fast as it goes, and prints one line: the
// score, the frames, the final state hash and whether they match the recording. 0 on a match, 1 on a
// mismatch (naming the first frame whose check differs), 2 when the file cannot be read.
int verifyReplay(const std::string& path);
