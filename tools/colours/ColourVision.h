#pragma once
#include <array>
#include <cstdint>

// Colours as people with a colour-vision deficiency see them, and how far apart two colours look.

enum class Vision { NORMAL, PROTANOPIA, DEUTERANOPIA, TRITANOPIA };
constexpr std::array<Vision, 4> kVisions = {Vision::NORMAL, Vision::PROTANOPIA, Vision::DEUTERANOPIA,
                                            Vision::TRITANOPIA};
const char* visionName(Vision vision);

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Lab {
    double l = 0.0;
    double a = 0.0;
    double b = 0.0;
};

// An sRGB colour as seen with that deficiency at full severity (Machado, Oliveira and Fernandes 2009),
// in CIELAB (D65).
[[nodiscard]] Lab seenAs(Rgb colour, Vision vision);
// The same, as an sRGB colour to show.
[[nodiscard]] Rgb simulate(Rgb colour, Vision vision);
// CIEDE2000 (Sharma, Wu and Dalal 2005): about 1 is the smallest difference anyone sees.
[[nodiscard]] double ciede2000(const Lab& first, const Lab& second);
