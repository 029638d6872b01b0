#include "FlashMeter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A 64 x 36 picture, each frame black or one colour over the left part of the given width.
struct Frames {
    std::vector<std::uint8_t> black = std::vector<std::uint8_t>(64 * 36 * 4, 0);
    std::vector<std::uint8_t> lit(int width, std::uint8_t r, std::uint8_t g, std::uint8_t b) const {
        std::vector<std::uint8_t> pixels = black;
        for (int y = 0; y < 36; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::size_t at = 4 * static_cast<std::size_t>(y * 64 + x);
                pixels[at] = r;
                pixels[at + 1] = g;
                pixels[at + 2] = b;
            }
        }
        return pixels;
    }
};

// Lit for `on` frames and dark for `off`, for two seconds: the most flashes a second the meter counts.
int flashes(const std::vector<std::uint8_t>& lit, int on, int off, bool red = false) {
    const Frames frames;
    FlashMeter meter(64, 36, 32, 36);
    for (int frame = 0; frame < 120; ++frame)
        meter.add(frame % (on + off) < on ? lit.data() : frames.black.data());
    return red ? meter.red().flashes : meter.general().flashes;
}

TEST(FlashMeterTest, CountsFlashesThatCoverAQuarterOfAFieldAndNoneThatDoNot) {
    const Frames frames;
    EXPECT_EQ(flashes(frames.lit(64, 255, 255, 255), 5, 5), 6) << "six white flashes a second";
    EXPECT_EQ(flashes(frames.lit(64, 255, 255, 255), 30, 30), 1);
    EXPECT_EQ(flashes(frames.lit(6, 255, 255, 255), 5, 5), 0) << "a tenth of a field is too small";
    EXPECT_EQ(flashes(frames.lit(64, 40, 40, 40), 5, 5), 0) << "too faint: 0.02 of luminance";
    EXPECT_EQ(flashes(frames.lit(64, 255, 0, 0), 5, 5, true), 6) << "saturated red, by the red rule";
    EXPECT_EQ(flashes(frames.lit(64, 0, 0, 255), 5, 5, true), 0) << "blue is no red flash";
}

} // namespace
