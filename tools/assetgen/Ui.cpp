// Interface art: button plates, the text panel, bars, potions, the skill icon and cursors.
#include "Art.h"
#include "Canvas.h"

#include <SDL3/SDL.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

using Polygon = std::vector<std::pair<float, float>>;

bool inside(const Polygon& poly, float x, float y) {
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const auto [xi, yi] = poly[i];
        const auto [xj, yj] = poly[j];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
}

void fillPolygon(Canvas& c, const Polygon& poly, Color colour) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (inside(poly, x + 0.5f, y + 0.5f)) c.blend(x, y, colour);
}

enum class Look { NORMAL, HOVER, PRESSED };

// A plate without words: the game draws them in the player's language (its ButtonLabel has the inks).
Canvas button(int w, int h, Look look) {
    struct Palette {
        Color fill, light, dark, border;
    };
    const Palette palettes[3] = {
        {rgb(64, 40, 104), rgb(110, 78, 160), rgb(38, 22, 66), rgb(16, 8, 30)},
        {rgb(98, 62, 150), rgb(164, 124, 226), rgb(60, 36, 100), rgb(226, 196, 255)},
        {rgb(40, 24, 70), rgb(24, 12, 44), rgb(90, 64, 136), rgb(16, 8, 30)},
    };
    const Palette& p = palettes[static_cast<int>(look)];
    Canvas c(w, h);
    c.fillRect(1, 0, w - 2, h, p.border);
    c.fillRect(0, 1, w, h - 2, p.border);
    c.fillRect(1, 1, w - 2, h - 2, p.fill);
    c.fillRect(2, 1, w - 4, 2, p.light); // bevel: lit from above, or sunk when pressed
    c.fillRect(2, h - 3, w - 4, 2, p.dark);
    return c;
}

Canvas panel() {
    constexpr int w = 96;
    constexpr int h = 48;
    Canvas c(w, h);
    c.fillRect(1, 0, w - 2, h, rgb(150, 128, 220));
    c.fillRect(0, 1, w, h - 2, rgb(150, 128, 220));
    c.fillRect(1, 1, w - 2, h - 2, rgb(70, 56, 130));
    for (int y = 2; y < h - 2; ++y) { // a gentle vertical gradient that survives any stretch
        const float t = static_cast<float>(y) / h;
        c.fillRect(2, y, w - 4, 1, mix(rgb(28, 26, 66, 0.92f), rgb(14, 12, 36, 0.92f), t));
    }
    return c;
}

Canvas bar(Color body, bool background) {
    constexpr int w = 80;
    constexpr int h = 8;
    Canvas c(w, h);
    if (background) {
        c.fillRect(0, 0, w, h, rgb(220, 210, 245));
        c.fillRect(1, 1, w - 2, h - 2, rgb(24, 18, 36));
        return c;
    }
    c.fillRect(1, 1, w - 2, h - 2, body);
    c.fillRect(1, 1, w - 2, 1, mix(body, rgb(255, 255, 255), 0.45f));
    c.fillRect(1, h - 2, w - 2, 1, mix(body, rgb(0, 0, 0), 0.35f));
    return c;
}

// Drawn on a 28 x 28 grid and doubled, so it stays crisp at the half scale the HUD uses.
Canvas potion(Color liquid) {
    Canvas c(28, 28);
    const Color glass = rgb(210, 230, 240, 0.55f);
    c.fillCircle(14.0f, 18.0f, 9.0f, glass);
    c.fillRect(11, 5, 6, 6, glass);
    for (int y = 14; y < 28; ++y) // liquid fills the lower part of the round flask
        for (int x = 0; x < 28; ++x)
            if (std::hypot(x + 0.5f - 14.0f, y + 0.5f - 18.0f) <= 7.5f) c.set(x, y, liquid);
    c.fillRect(8, 14, 12, 1, mix(liquid, rgb(255, 255, 255), 0.5f));
    c.fillRect(10, 2, 8, 3, rgb(150, 96, 50));
    c.fillRect(10, 2, 8, 1, rgb(200, 140, 80));
    c.set(10, 16, rgb(255, 255, 255));
    c.set(9, 17, rgb(255, 255, 255));
    c.outline(rgb(24, 20, 40));
    return c.scaled(2);
}

Canvas electricIcon() {
    constexpr int s = 400;
    Canvas c(s, s);
    c.fillCircle(200.0f, 200.0f, 196.0f, rgb(236, 220, 140));
    c.fillCircle(200.0f, 200.0f, 184.0f, rgb(24, 30, 80));
    c.glow(200.0f, 210.0f, 170.0f, rgb(90, 140, 255, 0.7f));
    const Polygon bolt = {{0.58f, 0.10f}, {0.27f, 0.55f}, {0.47f, 0.55f}, {0.38f, 0.91f},
                          {0.76f, 0.41f}, {0.55f, 0.41f}, {0.68f, 0.10f}};
    Polygon scaled;
    for (auto [x, y] : bolt)
        scaled.emplace_back(x * s, y * s);
    Polygon shadow;
    for (auto [x, y] : scaled)
        shadow.emplace_back(x + 10.0f, y + 10.0f);
    fillPolygon(c, shadow, rgb(8, 8, 30, 0.6f));
    fillPolygon(c, scaled, rgb(255, 226, 80));
    Polygon core;
    for (auto [x, y] : scaled)
        core.emplace_back(200.0f + (x - 200.0f) * 0.8f, 200.0f + (y - 200.0f) * 0.8f);
    fillPolygon(c, core, rgb(255, 250, 210));
    return c;
}

Canvas crosshair(float radius, Color colour) {
    Canvas c(32, 32);
    const Color dark = rgb(10, 10, 30, 0.9f);
    c.ring(16.0f, 16.0f, radius - 2.5f, radius + 1.0f, dark);
    c.ring(16.0f, 16.0f, radius - 1.5f, radius, colour);
    for (auto [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
        const float x0 = 16.0f + dx * 3.0f;
        const float y0 = 16.0f + dy * 3.0f;
        const float x1 = 16.0f + dx * (radius + 3.0f);
        const float y1 = 16.0f + dy * (radius + 3.0f);
        c.line(x0, y0, x1, y1, 3.0f, dark);
        c.line(x0, y0, x1, y1, 1.0f, colour);
    }
    c.fillRect(15, 15, 2, 2, colour);
    return c;
}

Canvas pointer() {
    Canvas c(24, 24);
    const Polygon arrow = {{0, 0}, {0, 18}, {4.5f, 14}, {8, 21}, {11, 19.5f}, {7.5f, 13}, {13, 13}};
    Canvas mask(24, 24);
    fillPolygon(mask, arrow, rgb(255, 255, 255));
    mask.set(0, 0, rgb(255, 255, 255)); // the hot spot is the very first pixel
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            if (mask.get(x, y).a <= 0.0f) continue;
            const bool edge = mask.get(x - 1, y).a <= 0.0f || mask.get(x + 1, y).a <= 0.0f ||
                              mask.get(x, y - 1).a <= 0.0f || mask.get(x, y + 1).a <= 0.0f;
            const float t = static_cast<float>(x + y) / 30.0f;
            c.set(x, y, edge ? rgb(30, 16, 50) : mix(rgb(255, 255, 255), rgb(180, 150, 240), t));
        }
    }
    return c;
}

} // namespace

bool makeUi(const std::string& root) {
    const std::string dir = root + "/UI/";
    bool ok = true;
    const struct {
        const char* name;
        int width;
    } buttons[] = {{"A_Start", 88}, {"A_Credits", 88}, {"A_Quit", 88}, {"A_Options", 88},
                   {"A_Pause", 72}, {"A_Restart", 72}, {"A_Back", 72}, {"A_Daily", 88}};
    for (const auto& b : buttons) {
        const Look looks[3] = {Look::NORMAL, Look::HOVER, Look::PRESSED};
        for (int i = 0; i < 3; ++i) {
            ok = ok && button(b.width, 24, looks[i]).savePng(dir + b.name + std::to_string(i + 1) + ".png");
        }
    }
    ok = ok && panel().savePng(dir + "Textfield_01.png");
    ok = ok && bar({}, true).savePng(dir + "bar_bg.png");
    ok = ok && bar(rgb(220, 40, 56), false).savePng(dir + "bar_red.png");
    ok = ok && bar(rgb(50, 110, 240), false).savePng(dir + "bar_blue.png");
    ok = ok && potion(rgb(226, 34, 60)).savePng(dir + "Red Potion.png");
    ok = ok && potion(rgb(44, 104, 250)).savePng(dir + "Blue Potion.png");
    ok = ok && electricIcon().savePng(dir + "Electric-Icon.png");
    ok = ok && crosshair(9.0f, rgb(170, 240, 255)).savePng(dir + "29.png");
    ok = ok && crosshair(11.0f, rgb(255, 220, 130)).savePng(dir + "30.png");
    ok = ok && pointer().savePng(dir + "pointer_c_shaded.png");
    return ok;
}
