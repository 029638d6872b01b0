// The ghosts: the player's friendly one and the hostile one with its hurt and dying looks.
#include "Art.h"
#include "Canvas.h"

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kFrame = 32;

// Colours a body mask with a light from the upper left, so the shapes read as round.
void shade(Canvas& body, Color base, Color light, Color dark, float cx, float cy, float radius) {
    for (int y = 0; y < body.height(); ++y) {
        for (int x = 0; x < body.width(); ++x) {
            if (body.get(x, y).a < 0.5f) continue;
            const float nx = (x + 0.5f - cx) / radius;
            const float ny = (y + 0.5f - cy) / radius;
            const float lit = -(nx + ny) * 0.5f; // -1 lower right .. 1 upper left
            Color c = base;
            if (lit > 0.35f) c = light;
            if (lit < -0.45f) c = dark;
            body.set(x, y, c);
        }
    }
}

Canvas friendlyGhost(int frame, int frames, bool moving) {
    const float phase = 2.0f * kPi * static_cast<float>(frame) / static_cast<float>(frames);
    const float bob = std::round(std::sin(phase) * 1.5f);
    Canvas body(kFrame, kFrame);
    const Color solid = rgb(255, 255, 255);
    const float top = 11.0f + bob;
    body.fillCircle(16.0f, top, 9.0f, solid);
    body.fillRect(7, static_cast<int>(top), 18, 12, solid);
    if (!moving) {
        // Three scallops along the hem, rippling.
        for (int i = 0; i < 3; ++i) {
            const float wave = std::round(std::sin(phase + static_cast<float>(i) * 2.1f) * 1.0f);
            body.fillCircle(10.0f + 6.0f * static_cast<float>(i), top + 12.0f + wave, 3.2f, solid);
        }
    } else {
        // A tail streaming out behind (to the left; the game mirrors it when moving left).
        for (int k = 0; k < 5; ++k) {
            const float kf = static_cast<float>(k);
            const float sway = std::sin(phase + kf * 0.9f) * (0.6f + kf * 0.5f);
            body.fillCircle(15.0f - kf * 2.6f, top + 12.0f + kf * 1.2f + sway, 8.5f - kf * 1.6f, solid);
        }
    }
    shade(body, rgb(226, 238, 255), rgb(250, 253, 255), rgb(170, 190, 230), 16.0f, top + 4.0f, 12.0f);
    const float look = moving ? 2.0f : 0.0f;
    const Color eye = rgb(30, 30, 60);
    for (float ex : {12.0f, 19.0f}) {
        body.fillRect(static_cast<int>(ex + look), static_cast<int>(top - 1.0f), 2, 3, eye);
        body.set(static_cast<int>(ex + look), static_cast<int>(top - 1.0f), rgb(255, 255, 255));
        body.fillRect(static_cast<int>(ex + look - 1.0f), static_cast<int>(top + 3.0f), 2, 1,
                      rgb(255, 160, 190, 0.9f));
    }
    body.fillRect(static_cast<int>(15.0f + look), static_cast<int>(top + 4.0f), 2, 1, eye); // a small smile
    body.outline(rgb(44, 56, 110));
    Canvas frame_canvas(kFrame, kFrame);
    frame_canvas.glow(16.0f, top + 4.0f, 16.0f, rgb(160, 220, 255, 0.35f)); // the friendly ghost gives light
    frame_canvas.blit(body, 0, 0);
    return frame_canvas;
}

Canvas hostileGhost(int frame, int frames) {
    const float phase = 2.0f * kPi * static_cast<float>(frame) / static_cast<float>(frames);
    const float bob = std::round(std::sin(phase) * 1.0f);
    const float top = 12.0f + bob;
    Canvas body(kFrame, kFrame);
    const Color solid = rgb(255, 255, 255);
    body.fillEllipse(16.0f, top, 10.0f, 9.0f, solid);
    body.fillRect(6, static_cast<int>(top), 20, 11, solid);
    // A ragged, spiky hem that crawls from frame to frame.
    for (int x = 6; x < 26; ++x) {
        const int tooth = ((x + frame) % 4);
        const int len = tooth < 2 ? tooth + 2 : 4 - tooth;
        body.fillRect(x, static_cast<int>(top) + 11, 1, len + 1, solid);
    }
    // Clawed arms reaching forward.
    const float reach = std::sin(phase) * 1.5f;
    body.line(6.0f, top + 4.0f, 2.0f, top + 7.0f + reach, 2.0f, solid);
    body.line(26.0f, top + 4.0f, 30.0f, top + 7.0f - reach, 2.0f, solid);
    shade(body, rgb(96, 44, 138), rgb(140, 78, 186), rgb(58, 22, 92), 16.0f, top + 4.0f, 12.0f);
    // Angry slanted eyes glowing red, under heavy brows.
    const Color red = rgb(255, 48, 48);
    const Color hot = rgb(255, 220, 120);
    const int ey = static_cast<int>(top);
    body.fillRect(10, ey, 4, 2, red);
    body.fillRect(11, ey + 2, 3, 1, red);
    body.set(12, ey + 1, hot);
    body.fillRect(18, ey, 4, 2, red);
    body.fillRect(18, ey + 2, 3, 1, red);
    body.set(19, ey + 1, hot);
    const Color brow = rgb(24, 6, 36);
    body.line(9.0f, top - 3.0f, 14.0f, top - 1.0f, 1.0f, brow);
    body.line(22.0f, top - 3.0f, 17.0f, top - 1.0f, 1.0f, brow);
    // A jagged grin with fangs.
    body.fillRect(11, ey + 5, 10, 3, rgb(20, 0, 20));
    for (int x = 11; x < 21; x += 3)
        body.fillRect(x, ey + 5, 1, 2, rgb(245, 240, 230));
    body.outline(rgb(20, 4, 28));
    Canvas out(kFrame, kFrame);
    out.glow(16.0f, top + 4.0f, 16.0f, rgb(255, 40, 90, 0.3f));
    out.blit(body, 0, 0);
    return out;
}

// Recolours every visible pixel towards c, keeping the outline dark.
Canvas tinted(const Canvas& src, Color c, float amount) {
    Canvas out(src.width(), src.height());
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            const Color p = src.get(x, y);
            out.set(x, y, withAlpha(mix(p, c, amount), p.a));
        }
    }
    return out;
}

std::vector<Canvas> hurtFrames() {
    std::vector<Canvas> frames;
    for (int f = 0; f < 4; ++f) {
        const Canvas ghost = hostileGhost(f * 2, 8);
        Canvas frame(kFrame, kFrame);
        // Flashes white and red, shaken a pixel each way.
        frame.blit(f % 2 == 0 ? tinted(ghost, rgb(255, 255, 255), 0.75f)
                              : tinted(ghost, rgb(255, 30, 30), 0.5f),
                   f % 2 == 0 ? -1 : 1, 0);
        frames.push_back(frame);
    }
    return frames;
}

std::vector<Canvas> deadFrames() {
    std::vector<Canvas> frames;
    const Canvas ghost = tinted(hostileGhost(0, 8), rgb(200, 180, 255), 0.3f);
    Rng noise(1764);
    std::vector<float> threshold(static_cast<size_t>(kFrame * kFrame));
    for (float& t : threshold)
        t = noise.uniform();
    for (int f = 0; f < 8; ++f) {
        const float t = static_cast<float>(f) / 7.0f;
        Canvas frame(kFrame, kFrame);
        // Pixels vanish in a random order and drift upwards as the ghost dissolves.
        for (int y = 0; y < kFrame; ++y) {
            for (int x = 0; x < kFrame; ++x) {
                const Color p = ghost.get(x, y);
                if (p.a <= 0.0f || threshold[static_cast<size_t>(y) * kFrame + static_cast<size_t>(x)] < t)
                    continue;
                const int rise = static_cast<int>(t * 6.0f * (1.0f - static_cast<float>(y) / kFrame));
                frame.blend(x, y - rise, withAlpha(p, p.a * (1.0f - t * 0.6f)));
            }
        }
        Rng wisps(100 + static_cast<std::uint64_t>(f));
        for (int k = 0; k < 6; ++k) {
            const float x = wisps.uniform(6.0f, 26.0f);
            const float y = wisps.uniform(4.0f, 26.0f) - t * 10.0f;
            frame.fillCircle(x, y, 1.0f, rgb(220, 200, 255, 0.8f * (1.0f - t)));
        }
        frames.push_back(frame);
    }
    return frames;
}

} // namespace

bool makeSprites(const std::string& root) {
    const std::string dir = root + "/sprite/";
    std::vector<Canvas> idle;
    std::vector<Canvas> move;
    std::vector<Canvas> hostile;
    for (int f = 0; f < 8; ++f) {
        idle.push_back(friendlyGhost(f, 8, false));
        move.push_back(friendlyGhost(f, 8, true));
        hostile.push_back(hostileGhost(f, 8));
    }
    return strip(idle).savePng(dir + "ghost-idle.png") && strip(move).savePng(dir + "ghost-move.png") &&
           strip(hostile).savePng(dir + "ghost-Sheet.png") &&
           strip(hurtFrames()).savePng(dir + "ghostHurt-Sheet.png") &&
           strip(deadFrames()).savePng(dir + "ghostDead-Sheet.png");
}

bool makeIcons(const std::string& hicolor_dir) {
    const Canvas ghost = friendlyGhost(0, 8, false); // 32 x 32: whole multiples keep the pixels crisp
    for (const int size : {64, 128, 192, 256, 512}) { // 192 and 512: the web page's manifest
        const std::string dir =
            hicolor_dir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::filesystem::create_directories(dir);
        if (!ghost.scaled(size / 32).savePng(dir + "/moonvale.png")) return false;
    }
    return true;
}
