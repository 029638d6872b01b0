#include "replay/Daily.h"

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
