#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The daily run: one game a day whose seed is the date in UTC, the same for every player that day. Its
// best game of the day is kept as a replay, assets/daily-YYYY-MM-DD.mvr, whose score is the day's best.

// Today in UTC, as YYYY-MM-DD.
[[nodiscard]] std::string todayInUtc();
// YYYY-MM-DD, digits where digits belong.
[[nodiscard]] bool isDay(std::string_view text);
// 2026-12-09 gives 20261209.
[[nodiscard]] std::uint32_t dailySeed(const std::string& date);
// The day before a YYYY-MM-DD day ("2027-01-01" gives "2026-12-31").
[[nodiscard]] std::string dayBefore(const std::string& date);
[[nodiscard]] std::string dailyReplayPath(const std::string& date);
// The best score of that day's run here, read from its replay; nothing when none was played.
[[nodiscard]] std::optional<std::int32_t> dailyBest(const std::string& date);
// Keeps a daily game that beat the day's best; older days' replays go, as the title shows only today's.
// False when it could not be written.
bool keepDailyGame(const std::string& date, const std::string& replay_bytes);
