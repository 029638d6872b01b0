#include "FlashMeter.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kStep = 8; // 16 of the picture's pixels
constexpr int kFramesPerSecond = 60;

// sRGB's channel values made linear, as relative luminance takes them.
const std::array<float, 256>& linear() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> t{};
        for (std::size_t i = 0; i < t.size(); ++i) {
            const float c = static_cast<float>(i) / 255.0f;
            t[i] = c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
        }
        return t;
    }();
    return table;
}

} // namespace

// Every 2 x 2 pixels are measured as one, their mean: flashes are a matter of area, and a quarter of
// the pixels costs a quarter of the time.
FlashMeter::FlashMeter(int width, int height, int field_width, int field_height)
    : source_width_(width), width_(width / 2), height_(height / 2), field_width_(std::min(field_width, width) / 2),
      field_height_(std::min(field_height, height) / 2) {
    const auto pixels = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    const int across = (width_ - field_width_) / kStep + 1;
    const int down = (height_ - field_height_) / kStep + 1;
    const std::size_t fields = static_cast<std::size_t>(across) * static_cast<std::size_t>(down);
    for (Rule* rule : {&general_, &red_}) {
        rule->going.assign(pixels, 0);
        rule->changes.resize(fields);
    }
    changed_.resize(pixels);
    luminance_.resize(pixels);
    red_values_.resize(pixels);
    sums_.resize(static_cast<std::size_t>(width_ + 1) * static_cast<std::size_t>(height_ + 1));
}

void FlashMeter::add(const std::uint8_t* pixels, bool bgr) {
    const std::size_t r_at = bgr ? 2 : 0;
    const std::size_t b_at = bgr ? 0 : 2;
    const std::array<float, 256>& to_linear = linear();
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            float luminance = 0.0f;
            float red = 0.0f;
            for (const int dy : {0, 1}) {
                for (const int dx : {0, 1}) {
                    const std::size_t at = 4 * (static_cast<std::size_t>(2 * y + dy) * static_cast<std::size_t>(source_width_) +
                                                static_cast<std::size_t>(2 * x + dx));
                    const float r = to_linear[pixels[at + r_at]];
                    const float g = to_linear[pixels[at + 1]];
                    const float b = to_linear[pixels[at + b_at]];
                    luminance += 0.2126f * r + 0.7152f * g + 0.0722f * b;
                    const float sum = r + g + b;
                    red += sum > 0.0f && r / sum >= 0.8f ? std::max(0.0f, r - g - b) * 320.0f : 0.0f;
                }
            }
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
            luminance_[i] = luminance / 4.0f;
            red_values_[i] = red / 4.0f;
        }
    }
    if (general_.from.empty()) {
        general_.from = luminance_;
        red_.from = red_values_;
    }
    follow(general_, luminance_, true);
    follow(red_, red_values_, false);
    ++frame_;
}

void FlashMeter::follow(Rule& rule, const std::vector<float>& values, bool general) {
    // A change goes on while it goes the same way: its far end is where the next one is measured from.
    for (std::size_t i = 0; i < values.size(); ++i) {
        const float step = values[i] - rule.from[i];
        const std::int8_t way = step > 0.0f ? 1 : -1;
        changed_[i] = 0;
        if (step == 0.0f) continue;
        if (way == rule.going[i]) {
            rule.from[i] = values[i];
            continue;
        }
        const bool enough = general ? std::abs(step) >= 0.1f && std::min(values[i], rule.from[i]) < 0.8f
                                    : std::abs(step) > 20.0f;
        if (!enough) continue;
        changed_[i] = 1;
        rule.going[i] = way;
        rule.from[i] = values[i];
    }
    const auto at = [this](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_ + 1) + static_cast<std::size_t>(x);
    };
    for (int y = 0; y < height_; ++y) {
        int row = 0;
        for (int x = 0; x < width_; ++x) {
            row += changed_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
            sums_[at(x + 1, y + 1)] = sums_[at(x + 1, y)] + row;
        }
    }
    const int quarter = field_width_ * field_height_ / 4;
    std::size_t field = 0;
    for (int y = 0; y + field_height_ <= height_; y += kStep) {
        for (int x = 0; x + field_width_ <= width_; x += kStep, ++field) {
            const int area = sums_[at(x + field_width_, y + field_height_)] - sums_[at(x, y + field_height_)] -
                             sums_[at(x + field_width_, y)] + sums_[at(x, y)];
            rule.largest = std::max(rule.largest, static_cast<float>(area) /
                                                      static_cast<float>(field_width_ * field_height_));
            std::deque<int>& changes = rule.changes[field];
            if (area >= quarter) changes.push_back(frame_);
            while (!changes.empty() && changes.front() <= frame_ - kFramesPerSecond)
                changes.pop_front();
            const int flashes = static_cast<int>(changes.size()) / 2;
            if (flashes > rule.most.flashes) rule.most = {flashes, frame_, x, y};
        }
    }
}
