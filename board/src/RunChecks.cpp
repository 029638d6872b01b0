#include "RunChecks.h"

#include "replay/Daily.h"
#include "replay/Replay.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <variant>

std::string dayOf(std::time_t now) {
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[40];
    (void)std::snprintf(text, sizeof text, "%04d-%02d-%02d", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
    return text;
}

std::time_t dayStart(std::time_t now) {
    return now - now % 86400;
}

RunFacts checkRun(std::string_view replay, std::time_t now) {
    RunFacts facts;
    auto decoded = decodeReplay(replay);
    if (const auto* why = std::get_if<std::string>(&decoded)) {
        facts.why = "not a replay: " + *why;
        return facts;
    }
    const Replay& run = std::get<Replay>(decoded);
    facts.day = dayOf(now);
    facts.claimed = run.final_score;
    char hash[17];
    (void)std::snprintf(hash, sizeof hash, "%016" PRIx64, run.final_hash);
    facts.end_hash = hash;
    if (run.isAssisted()) {
        facts.why = "an assisted game, at " + std::to_string(run.game_speed) +
                    " % speed: the board ranks only games at full speed";
        return facts;
    }
    if (run.seed != dailySeed(facts.day)) {
        facts.why = "not today's daily run: its seed is " + std::to_string(run.seed) + ", today's is " +
                    std::to_string(dailySeed(facts.day));
        return facts;
    }
    double seconds = 0.0;
    for (const ReplayRun& same : run.runs) {
        const float dt = same.frame.dt;
        if (!std::isfinite(dt) || dt < 0.0f) {
            facts.why = "a frame's length is not a time";
            return facts;
        }
        if (!same.frame.paused && dt > LONGEST_FRAME_IN_PLAY) {
            facts.why = "a frame in play is longer than a second";
            return facts;
        }
        if (!std::isfinite(same.frame.tilt.x) || !std::isfinite(same.frame.tilt.y) ||
            !std::isfinite(same.frame.aim.x) || !std::isfinite(same.frame.aim.y)) {
            facts.why = "a frame's input is not a number";
            return facts;
        }
        seconds += static_cast<double>(dt) * same.count;
    }
    facts.seconds = seconds;
    if (seconds > static_cast<double>(now - dayStart(now)) + 1.0) {
        facts.why = "the game took longer than today has lasted";
        return facts;
    }
    return facts;
}
