#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A colour with straight (not premultiplied) alpha, each channel 0..1.
struct Color {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;
};

Color rgb(int r, int g, int b, float a = 1.0f);
Color mix(Color a, Color b, float t);
Color withAlpha(Color c, float a);

// A small deterministic generator (SplitMix64), so the same commit draws the same pictures anywhere.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    float uniform(float lo = 0.0f, float hi = 1.0f);
    int range(int lo, int hi); // inclusive

private:
    std::uint64_t state_;
};

// An RGBA picture in memory with the few drawing operations the art needs.
class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    Color get(int x, int y) const;
    void set(int x, int y, Color c);
    // Source-over blending of c onto the pixel.
    void blend(int x, int y, Color c);

    void fillRect(int x, int y, int w, int h, Color c);
    void fillEllipse(float cx, float cy, float rx, float ry, Color c);
    void fillCircle(float cx, float cy, float r, Color c) { fillEllipse(cx, cy, r, r, c); }
    void ring(float cx, float cy, float r_inner, float r_outer, Color c);
    void line(float x0, float y0, float x1, float y1, float thickness, Color c);
    // A soft radial light: alpha falls from the centre to zero at the radius.
    void glow(float cx, float cy, float radius, Color c);
    void blit(const Canvas& src, int dx, int dy);
    // Draws a 1 px outline around every opaque region, in the transparent pixels next to it.
    void outline(Color c);
    // Nearest-neighbour enlargement, for art drawn on a coarse grid.
    Canvas scaled(int factor) const;
    void multiplyAlpha(float f);
    bool savePng(const std::string& path) const;

private:
    // Widened before multiplying: a large canvas must not overflow int.
    size_t index(int x, int y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
    }
    int width_;
    int height_;
    std::vector<Color> pixels_;
};

// Lays frames side by side into one horizontal strip.
Canvas strip(const std::vector<Canvas>& frames);
