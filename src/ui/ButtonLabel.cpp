#include "ui/ButtonLabel.h"

#include "core/SdlHandles.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace {

struct Ink {
    float r, g, b, a;
};

constexpr Ink rgb(int r, int g, int b, float a = 1.0f) {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f,
            a};
}

constexpr std::array<Ink, 3> kInk = {rgb(236, 228, 255), rgb(255, 236, 140), rgb(196, 184, 232)};
constexpr Ink kShadow = rgb(10, 4, 20, 0.8f);

// The words' pixels, solid: a bitmap font has no edges to smooth.
SurfacePtr mask(TTF_Font* font, const std::string& words) {
    SurfacePtr rendered(TTF_RenderText_Solid(font, words.c_str(), 0, SDL_Color{255, 255, 255, 255}));
    if (!rendered) return nullptr;
    return SurfacePtr(SDL_ConvertSurface(rendered.get(), SDL_PIXELFORMAT_RGBA32));
}

bool inked(const SDL_Surface* s, int x, int y) {
    const auto* row = static_cast<const std::uint8_t*>(s->pixels) + static_cast<std::ptrdiff_t>(y) * s->pitch;
    return row[x * 4 + 3] > 127;
}

// Source over, in the same float steps the plates were painted with, so English buttons come out
// exactly as their pictures did when the words were part of them.
void blend(std::uint8_t* pixel, Ink c) {
    const auto to8 = [](float v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    };
    const float dr = pixel[0] / 255.0f;
    const float dg = pixel[1] / 255.0f;
    const float db = pixel[2] / 255.0f;
    const float da = pixel[3] / 255.0f;
    const float a = c.a + da * (1.0f - c.a);
    if (a <= 0.0f) return;
    pixel[0] = to8((c.r * c.a + dr * da * (1.0f - c.a)) / a);
    pixel[1] = to8((c.g * c.a + dg * da * (1.0f - c.a)) / a);
    pixel[2] = to8((c.b * c.a + db * da * (1.0f - c.a)) / a);
    pixel[3] = to8(a);
}

void stamp(SDL_Surface* plate, const SDL_Surface* words, int left, int top, Ink ink) {
    for (int y = 0; y < words->h; ++y) {
        for (int x = 0; x < words->w; ++x) {
            const int px = left + x;
            const int py = top + y;
            if (!inked(words, x, y) || px < 0 || py < 0 || px >= plate->w || py >= plate->h) continue;
            auto* row =
                static_cast<std::uint8_t*>(plate->pixels) + static_cast<std::ptrdiff_t>(py) * plate->pitch;
            blend(row + static_cast<std::ptrdiff_t>(px) * 4, ink);
        }
    }
}

} // namespace

void drawButtonLabel(SDL_Surface* plate, TTF_Font* font, const std::string& words, ButtonLook look) {
    if (!plate || !font || words.empty() || plate->format != SDL_PIXELFORMAT_RGBA32) return;
    const SurfacePtr ink = mask(font, words);
    if (!ink) return;
    int top = ink->h;
    int bottom = -1;
    for (int y = 0; y < ink->h; ++y) {
        for (int x = 0; x < ink->w; ++x) {
            if (!inked(ink.get(), x, y)) continue;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    const int sink = look == ButtonLook::PRESSED ? 1 : 0;
    const int x = (plate->w - ink->w) / 2;
    const int y = (plate->h - (bottom - top + 1)) / 2 - top + sink;
    stamp(plate, ink.get(), x + 1, y + 1, kShadow);
    stamp(plate, ink.get(), x, y, kInk[static_cast<std::size_t>(look)]);
}
