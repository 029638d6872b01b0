#include "ColourVision.h"

#include <gtest/gtest.h>

namespace {

// Sharma, Wu and Dalal's test data, chosen where CIEDE2000's corrections matter: the blue region's
// rotation, a grey against a colour, hues across 0/360 degrees, a large lightness step. A slip in the
// formula moves every threshold the colour check applies without failing it.
TEST(ColourVisionTest, Ciede2000MatchesThePublishedData) {
    const struct {
        Lab first;
        Lab second;
        double difference;
    } pairs[] = {
        {{50.0, 2.6772, -79.7751}, {50.0, 0.0, -82.7485}, 2.0425},
        {{50.0, 0.0, 0.0}, {50.0, -1.0, 2.0}, 2.3669},
        {{50.0, 2.49, -0.001}, {50.0, -2.49, 0.0011}, 7.2195},
        {{50.0, 2.5, 0.0}, {73.0, 25.0, -18.0}, 27.1492},
        {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
    };
    for (const auto& pair : pairs) {
        EXPECT_NEAR(ciede2000(pair.first, pair.second), pair.difference, 1e-4);
        EXPECT_NEAR(ciede2000(pair.second, pair.first), pair.difference, 1e-4);
    }
}

// Red and green of one lightness: apart to normal vision, one colour to protanopes and deuteranopes,
// apart again to tritanopes; white stays white whatever the vision.
TEST(ColourVisionTest, RedAndGreenMergeOnlyForRedGreenDeficiencies) {
    const Rgb red{220, 40, 56};
    const Rgb olive{142, 128, 49}; // the red as a deuteranope sees it
    EXPECT_GT(ciede2000(seenAs(red, Vision::NORMAL), seenAs(olive, Vision::NORMAL)), 30.0);
    EXPECT_LT(ciede2000(seenAs(red, Vision::DEUTERANOPIA), seenAs(olive, Vision::DEUTERANOPIA)), 2.0);
    EXPECT_GT(ciede2000(seenAs(red, Vision::TRITANOPIA), seenAs(olive, Vision::TRITANOPIA)), 15.0);
    for (const Vision vision : kVisions) {
        const Lab white = seenAs({255, 255, 255}, vision);
        EXPECT_NEAR(white.l, 100.0, 0.1);
        EXPECT_NEAR(white.a, 0.0, 0.5);
        EXPECT_NEAR(white.b, 0.0, 0.5);
    }
}

} // namespace
