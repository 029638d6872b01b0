#include "ColourVision.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Machado et al. 2009, severity 1.0, applied to linear RGB.
constexpr Matrix kProtanopia = {{{0.152286, 1.052583, -0.204868},
                                 {0.114503, 0.786281, 0.099216},
                                 {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kDeuteranopia = {{{0.367322, 0.860646, -0.227968},
                                   {0.280085, 0.672501, 0.047413},
                                   {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix kTritanopia = {{{1.255528, -0.076749, -0.178779},
                                 {-0.078411, 0.930809, 0.147602},
                                 {0.004733, 0.691367, 0.303900}}};

double linear(std::uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double labCurve(double t) {
    constexpr double kEpsilon = 216.0 / 24389.0;
    constexpr double kKappa = 24389.0 / 27.0;
    return t > kEpsilon ? std::cbrt(t) : (kKappa * t + 16.0) / 116.0;
}

double degrees(double radians) {
    const double d = radians * 180.0 / std::numbers::pi;
    return d < 0.0 ? d + 360.0 : d;
}

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

const char* visionName(Vision vision) {
    switch (vision) {
    case Vision::PROTANOPIA:
        return "protanopia";
    case Vision::DEUTERANOPIA:
        return "deuteranopia";
    case Vision::TRITANOPIA:
        return "tritanopia";
    default:
        return "normal";
    }
}

namespace {

std::array<double, 3> seenLinear(Rgb colour, Vision vision) {
    std::array<double, 3> rgb = {linear(colour.r), linear(colour.g), linear(colour.b)};
    if (vision != Vision::NORMAL) {
        const Matrix& m = vision == Vision::PROTANOPIA     ? kProtanopia
                          : vision == Vision::DEUTERANOPIA ? kDeuteranopia
                                                           : kTritanopia;
        std::array<double, 3> seen{};
        for (std::size_t row = 0; row < 3; ++row) {
            const double value = m[row][0] * rgb[0] + m[row][1] * rgb[1] + m[row][2] * rgb[2];
            seen[row] = value < 0.0 ? 0.0 : value > 1.0 ? 1.0 : value; // what a screen can show
        }
        rgb = seen;
    }
    return rgb;
}

std::uint8_t encoded(double linear_value) {
    const double c = linear_value <= 0.0031308 ? 12.92 * linear_value : 1.055 * std::pow(linear_value, 1.0 / 2.4) - 0.055;
    return static_cast<std::uint8_t>(std::lround(std::clamp(c, 0.0, 1.0) * 255.0));
}

} // namespace

Rgb simulate(Rgb colour, Vision vision) {
    const std::array<double, 3> rgb = seenLinear(colour, vision);
    return {encoded(rgb[0]), encoded(rgb[1]), encoded(rgb[2])};
}

Lab seenAs(Rgb colour, Vision vision) {
    const std::array<double, 3> rgb = seenLinear(colour, vision);
    // Linear sRGB to XYZ (D65), relative to the white point.
    const double x = (0.4124564 * rgb[0] + 0.3575761 * rgb[1] + 0.1804375 * rgb[2]) / 0.95047;
    const double y = 0.2126729 * rgb[0] + 0.7151522 * rgb[1] + 0.0721750 * rgb[2];
    const double z = (0.0193339 * rgb[0] + 0.1191920 * rgb[1] + 0.9503041 * rgb[2]) / 1.08883;
    const double fx = labCurve(x);
    const double fy = labCurve(y);
    const double fz = labCurve(z);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

double ciede2000(const Lab& first, const Lab& second) {
    const double c1 = std::hypot(first.a, first.b);
    const double c2 = std::hypot(second.a, second.b);
    const double c_mean7 = std::pow((c1 + c2) / 2.0, 7.0);
    const double g = 0.5 * (1.0 - std::sqrt(c_mean7 / (c_mean7 + std::pow(25.0, 7.0))));
    const double a1 = (1.0 + g) * first.a;
    const double a2 = (1.0 + g) * second.a;
    const double cp1 = std::hypot(a1, first.b);
    const double cp2 = std::hypot(a2, second.b);
    const double h1 = cp1 == 0.0 ? 0.0 : degrees(std::atan2(first.b, a1));
    const double h2 = cp2 == 0.0 ? 0.0 : degrees(std::atan2(second.b, a2));
    const double dl = second.l - first.l;
    const double dc = cp2 - cp1;
    double dh = 0.0;
    if (cp1 * cp2 != 0.0) {
        dh = h2 - h1;
        if (dh > 180.0) dh -= 360.0;
        if (dh < -180.0) dh += 360.0;
    }
    const double d_big_h = 2.0 * std::sqrt(cp1 * cp2) * std::sin(radians(dh / 2.0));
    const double l_mean = (first.l + second.l) / 2.0;
    const double cp_mean = (cp1 + cp2) / 2.0;
    double h_mean = h1 + h2;
    if (cp1 * cp2 != 0.0) {
        if (std::abs(h1 - h2) <= 180.0) {
            h_mean /= 2.0;
        } else {
            h_mean = h_mean < 360.0 ? (h_mean + 360.0) / 2.0 : (h_mean - 360.0) / 2.0;
        }
    }
    const double t = 1.0 - 0.17 * std::cos(radians(h_mean - 30.0)) + 0.24 * std::cos(radians(2.0 * h_mean)) +
                     0.32 * std::cos(radians(3.0 * h_mean + 6.0)) - 0.20 * std::cos(radians(4.0 * h_mean - 63.0));
    const double d_theta = 30.0 * std::exp(-std::pow((h_mean - 275.0) / 25.0, 2.0));
    const double cp_mean7 = std::pow(cp_mean, 7.0);
    const double rc = 2.0 * std::sqrt(cp_mean7 / (cp_mean7 + std::pow(25.0, 7.0)));
    const double l50 = (l_mean - 50.0) * (l_mean - 50.0);
    const double sl = 1.0 + 0.015 * l50 / std::sqrt(20.0 + l50);
    const double sc = 1.0 + 0.045 * cp_mean;
    const double sh = 1.0 + 0.015 * cp_mean * t;
    const double rt = -std::sin(radians(2.0 * d_theta)) * rc;
    const double tl = dl / sl;
    const double tc = dc / sc;
    const double th = d_big_h / sh;
    return std::sqrt(tl * tl + tc * tc + th * th + rt * tc * th);
}
