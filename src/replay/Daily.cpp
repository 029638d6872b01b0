#include "replay/Daily.h"

#include "replay/Verify.h"
#include "shell/AtomicFile.h"

#include <SDL3/SDL.h>

#include <filesystem>

namespace {
constexpr const char* kFolder = "assets";
constexpr const char* kPrefix = "daily-";
} // namespace

std::string todayInUtc() {
    SDL_Time now = 0;
    SDL_DateTime date{};
    if (!SDL_GetCurrentTime(&now) || !SDL_TimeToDateTime(now, &date, false)) return "1970-01-01";
    char text[16];
    SDL_snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::string dailyReplayPath(const std::string& date) {
    return std::string(kFolder) + "/" + kPrefix + date + ".mvr";
}

std::optional<std::int32_t> dailyBest(const std::string& date) {
    std::string why;
    const std::optional<Replay> best = readReplayFile(dailyReplayPath(date), why);
    if (!best) return std::nullopt;
    return best->final_score;
}

bool keepDailyGame(const std::string& date, const std::string& replay_bytes) {
    if (!writeFileAtomically(dailyReplayPath(date), replay_bytes)) return false;
    std::error_code error;
    const std::string kept = std::string(kPrefix) + date + ".mvr";
    for (const auto& entry : std::filesystem::directory_iterator(kFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(kPrefix) && name.ends_with(".mvr") && name != kept) {
            std::error_code ignored;
            std::filesystem::remove(entry.path(), ignored);
        }
    }
    return true;
}
