#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The high score on disk: exactly 4 bytes, a signed 32-bit integer, least significant byte first.

// Missing or unreadable gives 0; a short file fills the low bytes; bytes past the fourth are ignored.
[[nodiscard]] std::int32_t readScoreFile(const std::string& file_path);
// The same rule applied to a file's bytes.
[[nodiscard]] std::int32_t parseScore(std::string_view bytes);
// Writes a temporary file beside the real one and renames it over, so the file always holds either
// the old or the new score; false (and nothing changed) when the folder is not writable.
bool writeScoreFile(const std::string& file_path, std::int32_t score);

// Where the best score and the best game's replay of a game speed are kept: an assisted speed's apart
// from the ordinary ones (assets/score.dat, assets/best.mvr).
[[nodiscard]] std::string highScoreFile(int game_speed);
[[nodiscard]] std::string bestReplayFile(int game_speed);
