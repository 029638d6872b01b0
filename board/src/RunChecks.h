#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

// What the board learns of a submitted replay before it costs a verification.
struct RunFacts {
    std::string day;            // YYYY-MM-DD of its seed
    std::string end_hash;       // the recorded end state, hex
    std::int64_t claimed = 0;   // the score it claims
    double seconds = 0.0;       // the time it took, every frame counted
    std::string why;            // empty when it can be an honest daily run of today
};

// A frame in play longer than this is not one a player's machine makes (a browser caps its frames at
// 0.1 s; a desktop's hitch is shorter than a second); a paused frame moves nothing and may be long.
constexpr float LONGEST_FRAME_IN_PLAY = 1.0f;

// The day of now, YYYY-MM-DD in UTC, and when it began.
[[nodiscard]] std::string dayOf(std::time_t now);
[[nodiscard]] std::time_t dayStart(std::time_t now);

// Reads the replay and checks what needs no playing: a replay of this version of the rules, not assisted,
// of today's daily seed, every frame finite, not negative and not too long in play, and no more time than
// has passed since the day began.
[[nodiscard]] RunFacts checkRun(std::string_view replay, std::time_t now);
