#include "Canvas.h"

#include <SDL3/SDL.h>
#include <SDL3_image/SDL_image.h>

#include <algorithm>
#include <cmath>

Color rgb(int r, int g, int b, float a) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}

Color mix(Color a, Color b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Color withAlpha(Color c, float a) {
    return {c.r, c.g, c.b, a};
}

std::uint64_t Rng::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float Rng::uniform(float lo, float hi) {
    return lo + (hi - lo) * static_cast<float>(next() >> 40) / static_cast<float>(1ull << 24);
}

int Rng::range(int lo, int hi) {
    return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1));
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width * height), Color{0, 0, 0, 0}) {
}

Color Canvas::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {0, 0, 0, 0};
    return pixels_[index(x, y)];
}

void Canvas::set(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[index(x, y)] = c;
}

void Canvas::blend(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || c.a <= 0.0f) return;
    Color& d = pixels_[index(x, y)];
    const float a = c.a + d.a * (1.0f - c.a);
    if (a <= 0.0f) return;
    d.r = (c.r * c.a + d.r * d.a * (1.0f - c.a)) / a;
    d.g = (c.g * c.a + d.g * d.a * (1.0f - c.a)) / a;
    d.b = (c.b * c.a + d.b * d.a * (1.0f - c.a)) / a;
    d.a = a;
}

void Canvas::fillRect(int x, int y, int w, int h, Color c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            blend(i, j, c);
}

void Canvas::fillEllipse(float cx, float cy, float rx, float ry, Color c) {
    if (rx <= 0.0f || ry <= 0.0f) return;
    for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry)); ++y) {
        for (int x = static_cast<int>(std::floor(cx - rx)); x <= static_cast<int>(std::ceil(cx + rx)); ++x) {
            const float dx = (x + 0.5f - cx) / rx;
            const float dy = (y + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f) blend(x, y, c);
        }
    }
}

void Canvas::ring(float cx, float cy, float r_inner, float r_outer, Color c) {
    for (int y = static_cast<int>(std::floor(cy - r_outer)); y <= static_cast<int>(std::ceil(cy + r_outer));
         ++y) {
        for (int x = static_cast<int>(std::floor(cx - r_outer));
             x <= static_cast<int>(std::ceil(cx + r_outer)); ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            if (d >= r_inner && d <= r_outer) blend(x, y, c);
        }
    }
}

void Canvas::line(float x0, float y0, float x1, float y1, float thickness, Color c) {
    const float length = std::hypot(x1 - x0, y1 - y0);
    const int steps = std::max(1, static_cast<int>(length * 2.0f));
    const float r = thickness / 2.0f;
    // Stamp discs along the line into a mask first, so overlapping stamps do not darken the stroke.
    std::vector<char> mask(static_cast<size_t>(width_ * height_), 0);
    for (int s = 0; s <= steps; ++s) {
        const float t = static_cast<float>(s) / static_cast<float>(steps);
        const float px = x0 + (x1 - x0) * t;
        const float py = y0 + (y1 - y0) * t;
        for (int y = static_cast<int>(std::floor(py - r)); y <= static_cast<int>(std::ceil(py + r)); ++y) {
            for (int x = static_cast<int>(std::floor(px - r)); x <= static_cast<int>(std::ceil(px + r));
                 ++x) {
                if (x < 0 || y < 0 || x >= width_ || y >= height_) continue;
                if (std::hypot(x + 0.5f - px, y + 0.5f - py) <= std::max(r, 0.5f)) mask[index(x, y)] = 1;
            }
        }
    }
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (mask[index(x, y)]) blend(x, y, c);
}

void Canvas::glow(float cx, float cy, float radius, Color c) {
    for (int y = static_cast<int>(cy - radius); y <= static_cast<int>(cy + radius); ++y) {
        for (int x = static_cast<int>(cx - radius); x <= static_cast<int>(cx + radius); ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
            if (d >= 1.0f) continue;
            const float falloff = (1.0f - d) * (1.0f - d);
            blend(x, y, withAlpha(c, c.a * falloff));
        }
    }
}

void Canvas::blit(const Canvas& src, int dx, int dy) {
    for (int y = 0; y < src.height_; ++y)
        for (int x = 0; x < src.width_; ++x)
            blend(dx + x, dy + y, src.get(x, y));
}

void Canvas::outline(Color c) {
    const Canvas before = *this;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (before.get(x, y).a > 0.5f) continue;
            const bool edge = before.get(x - 1, y).a > 0.5f || before.get(x + 1, y).a > 0.5f ||
                              before.get(x, y - 1).a > 0.5f || before.get(x, y + 1).a > 0.5f;
            if (edge) set(x, y, c);
        }
    }
}

Canvas Canvas::scaled(int factor) const {
    Canvas out(width_ * factor, height_ * factor);
    for (int y = 0; y < out.height_; ++y)
        for (int x = 0; x < out.width_; ++x)
            out.set(x, y, get(x / factor, y / factor));
    return out;
}

void Canvas::multiplyAlpha(float f) {
    for (Color& c : pixels_)
        c.a *= f;
}

bool Canvas::savePng(const std::string& path) const {
    SDL_Surface* surface = SDL_CreateSurface(width_, height_, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return false;
    auto* row_bytes = static_cast<std::uint8_t*>(surface->pixels);
    auto to8 = [](float v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    };
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = row_bytes + static_cast<size_t>(y) * static_cast<size_t>(surface->pitch);
        for (int x = 0; x < width_; ++x) {
            const Color c = get(x, y);
            const bool clear = c.a <= 0.0f; // keep fully transparent pixels all zero
            row[x * 4 + 0] = clear ? 0 : to8(c.r);
            row[x * 4 + 1] = clear ? 0 : to8(c.g);
            row[x * 4 + 2] = clear ? 0 : to8(c.b);
            row[x * 4 + 3] = to8(c.a);
        }
    }
    const bool ok = IMG_SavePNG(surface, path.c_str());
    SDL_DestroySurface(surface);
    return ok;
}

Canvas strip(const std::vector<Canvas>& frames) {
    const int w = frames.front().width();
    Canvas sheet(w * static_cast<int>(frames.size()), frames.front().height());
    for (size_t i = 0; i < frames.size(); ++i)
        sheet.blit(frames[i], w * static_cast<int>(i), 0);
    return sheet;
}
