#include "replay/Daily.h"

#include <chrono>
#include <cstdio>

// Apart from the rest of the daily run, which keeps files through SDL: the board needs only this.
bool isDay(std::string_view text) {
    if (text.size() != 10) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 4 || i == 7;
        if (dash ? text[i] != '-' : (text[i] < '0' || text[i] > '9')) return false;
    }
    return true;
}

std::uint32_t dailySeed(const std::string& date) {
    std::uint32_t seed = 0;
    for (const char c : date) {
        if (c >= '0' && c <= '9') seed = seed * 10u + static_cast<std::uint32_t>(c - '0');
    }
    return seed;
}

std::string dayBefore(const std::string& date) {
    if (!isDay(date)) return date;
    using namespace std::chrono;
    const int y = std::stoi(date.substr(0, 4));
    const auto m = static_cast<unsigned>(std::stoi(date.substr(5, 2)));
    const auto d = static_cast<unsigned>(std::stoi(date.substr(8, 2)));
    const year_month_day before{sys_days{year_month_day{year{y}, month{m}, day{d}}} - days{1}};
    char text[16];
    (void)std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(before.year()),
                        static_cast<unsigned>(before.month()), static_cast<unsigned>(before.day()));
    return text;
}
