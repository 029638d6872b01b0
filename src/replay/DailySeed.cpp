#include "replay/Daily.h"

// Apart from the rest of the daily run, which keeps files through SDL: the board needs only this.
std::uint32_t dailySeed(const std::string& date) {
    std::uint32_t seed = 0;
    for (const char c : date) {
        if (c >= '0' && c <= '9') seed = seed * 10u + static_cast<std::uint32_t>(c - '0');
    }
    return seed;
}
