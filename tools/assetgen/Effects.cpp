// One-shot animations: the summoning circle, the player's death burst and the thunder strike.
#include "Art.h"
#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr float kPi = 3.14159265f;

float easeOut(float t) {
    return 1.0f - (1.0f - t) * (1.0f - t);
}

// Fades in over the first frames and out over the last ones.
float envelope(float t, float in, float out) {
    return std::clamp(std::min(t / in, (1.0f - t) / out), 0.0f, 1.0f);
}

std::vector<Canvas> summoningCircle() {
    constexpr int kSize = 64;
    constexpr int kFrames = 10;
    std::vector<Canvas> frames;
    const Color violet = rgb(196, 90, 255);
    const Color pale = rgb(245, 210, 255);
    for (int f = 0; f < kFrames; ++f) {
        const float t = static_cast<float>(f) / (kFrames - 1);
        const float alpha = std::max(0.15f, envelope(t, 0.25f, 0.3f));
        const float r = 8.0f + 22.0f * easeOut(std::min(1.0f, t * 1.4f));
        const float spin = t * kPi;
        Canvas c(kSize, kSize);
        c.glow(32.0f, 32.0f, r + 6.0f, withAlpha(violet, 0.45f * alpha));
        c.ring(32.0f, 32.0f, r - 2.0f, r, withAlpha(pale, alpha));
        c.ring(32.0f, 32.0f, r * 0.72f - 1.0f, r * 0.72f, withAlpha(violet, alpha));
        // A five-pointed star inside the inner ring.
        const float inner = r * 0.72f;
        for (int k = 0; k < 5; ++k) {
            const float a0 = spin + 2.0f * kPi * static_cast<float>(k) / 5.0f - kPi / 2.0f;
            const float a1 = spin + 2.0f * kPi * static_cast<float>((k + 2) % 5) / 5.0f - kPi / 2.0f;
            c.line(32.0f + inner * std::cos(a0), 32.0f + inner * std::sin(a0), 32.0f + inner * std::cos(a1),
                   32.0f + inner * std::sin(a1), 1.0f, withAlpha(violet, alpha * 0.9f));
        }
        // Runes riding the band between the rings, turning the other way.
        for (int k = 0; k < 8; ++k) {
            const float a = -spin * 1.5f + 2.0f * kPi * static_cast<float>(k) / 8.0f;
            const float rr = r * 0.86f;
            c.fillRect(static_cast<int>(32.0f + rr * std::cos(a)) - 1,
                       static_cast<int>(32.0f + rr * std::sin(a)) - 1, 2, 2, withAlpha(pale, alpha));
        }
        frames.push_back(c);
    }
    return frames;
}

std::vector<Canvas> deathBurst() {
    constexpr int kSize = 64;
    constexpr int kFrames = 8;
    std::vector<Canvas> frames;
    Rng rng(42);
    struct Spark {
        float angle, speed, size;
    };
    std::vector<Spark> sparks;
    sparks.reserve(14);
    for (int k = 0; k < 14; ++k)
        sparks.push_back({rng.uniform(0.0f, 2.0f * kPi), rng.uniform(14.0f, 28.0f), rng.uniform(1.0f, 2.5f)});
    for (int f = 0; f < kFrames; ++f) {
        const float t = static_cast<float>(f) / (kFrames - 1);
        const float fade = 1.0f - t;
        Canvas c(kSize, kSize);
        c.glow(32.0f, 32.0f, 10.0f + 20.0f * t, rgb(170, 230, 255, 0.9f * fade));
        c.fillCircle(32.0f, 32.0f, 9.0f * (1.0f - t), rgb(255, 255, 255, fade));
        const float r = 6.0f + 24.0f * easeOut(t);
        c.ring(32.0f, 32.0f, r - 2.0f * fade - 0.5f, r, rgb(200, 245, 255, fade));
        for (const Spark& s : sparks) {
            const float d = s.speed * easeOut(t) + 4.0f;
            c.fillCircle(32.0f + d * std::cos(s.angle), 32.0f + d * std::sin(s.angle) - t * 6.0f,
                         s.size * fade + 0.4f, rgb(230, 250, 255, fade));
        }
        frames.push_back(c);
    }
    return frames;
}

// A zig-zag bolt from the top edge to the strike point: sharp turns, alternating sides.
std::vector<std::pair<float, float>> boltPath(Rng& rng, float bottom) {
    std::vector<std::pair<float, float>> points;
    float x = 32.0f + rng.uniform(-4.0f, 4.0f);
    float side = rng.uniform() < 0.5f ? -1.0f : 1.0f;
    // NOLINTNEXTLINE(clang-analyzer-security.FloatLoopCounter): random steps down the bolt, not a count
    for (float y = 0.0f; y < bottom - 4.0f; y += rng.uniform(5.0f, 8.0f)) {
        points.emplace_back(x, y);
        x = std::clamp(x + side * rng.uniform(4.0f, 8.0f), 20.0f, 44.0f);
        x += (32.0f - x) * (y / bottom) * 0.6f; // converge on the strike point
        side = -side;
    }
    points.emplace_back(32.0f, bottom);
    return points;
}

void drawBolt(Canvas& c, const std::vector<std::pair<float, float>>& path, float alpha) {
    const float widths[3] = {6.0f, 3.0f, 1.0f};
    const Color colours[3] = {rgb(90, 140, 255, 0.35f * alpha), rgb(150, 200, 255, 0.8f * alpha),
                              rgb(255, 255, 255, alpha)};
    for (int layer = 0; layer < 3; ++layer) {
        for (size_t i = 1; i < path.size(); ++i) {
            c.line(path[i - 1].first, path[i - 1].second, path[i].first, path[i].second, widths[layer],
                   colours[layer]);
        }
    }
}

std::vector<Canvas> thunderStrike() {
    constexpr int kSize = 64;
    constexpr int kFrames = 8;
    constexpr float kImpact = 34.0f;
    std::vector<Canvas> frames;
    Rng rng(1500);
    std::vector<std::pair<float, float>> previous;
    for (int f = 0; f < kFrames; ++f) {
        const float t = static_cast<float>(f) / (kFrames - 1);
        Canvas c(kSize, kSize);
        std::vector<std::pair<float, float>> path = boltPath(rng, kImpact);
        if (f == 0) {
            path.resize(path.size() / 2); // still coming down
        }
        const float strength = f < 5 ? 1.0f : 1.0f - (t - 0.55f) / 0.45f;
        // Motion blur: the bolt of the frame before lingers as a faint streak.
        if (!previous.empty()) drawBolt(c, previous, 0.3f * strength);
        if (f >= 1) {
            const float r = 6.0f + 26.0f * easeOut(std::min(1.0f, (t - 0.1f) * 1.3f));
            c.glow(32.0f, kImpact, r + 4.0f, rgb(120, 170, 255, 0.55f * strength));
            c.ring(32.0f, kImpact, r - 1.5f, r, rgb(200, 230, 255, 0.7f * strength));
            c.fillEllipse(32.0f, kImpact, 7.0f * strength, 3.0f * strength, rgb(255, 255, 255, strength));
            for (int k = 0; k < 6; ++k) { // sparks thrown out from the impact
                const float a = rng.uniform(kPi, 2.0f * kPi);
                const float d = rng.uniform(4.0f, r);
                c.fillRect(static_cast<int>(32.0f + d * std::cos(a)),
                           static_cast<int>(kImpact + d * std::sin(a) * 0.6f), 1, 1,
                           rgb(255, 255, 220, strength));
            }
        }
        if (f < 6) {
            drawBolt(c, path, strength);
            if (f >= 1 && f <= 3) { // a branch forks off the main bolt
                const auto& fork = path[path.size() / 3];
                c.line(fork.first, fork.second, fork.first + rng.uniform(-12.0f, 12.0f), fork.second + 10.0f,
                       1.0f, rgb(200, 225, 255, 0.8f));
            }
        }
        previous = path;
        frames.push_back(c);
    }
    return frames;
}

} // namespace

bool makeEffects(const std::string& root) {
    const std::string dir = root + "/effect/";
    return strip(summoningCircle()).savePng(dir + "184_3.png") &&
           strip(deathBurst()).savePng(dir + "1764.png") &&
           strip(thunderStrike()).savePng(dir + "Thunderstrike w blur.png");
}
