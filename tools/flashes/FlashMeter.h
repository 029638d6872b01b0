#pragma once
#include <cstdint>
#include <deque>
#include <vector>

// Counts flashes as WCAG 2.3.1 defines them, in frames shown 60 times a second: a flash is a pair of
// opposing changes in relative luminance of 0.1 or more, the darker side below 0.8 (the general rule), or
// of a saturated red, (R - G - B) x 320 changing by more than 20 (the red rule), over at least a quarter
// of a field of view. A field here is a window of the picture, of the size a 10 degree field has on the
// screen the picture is shown on, tried at every 16 pixels.
class FlashMeter {
public:
    FlashMeter(int width, int height, int field_width, int field_height);
    // One frame, four bytes a pixel row by row: red, green, blue and one more, or with bgr blue first.
    void add(const std::uint8_t* pixels, bool bgr = false);

    struct Most {
        int flashes = 0; // in one second, in the worst field
        int frame = 0;   // the last frame of that second
        int x = 0;       // the field's top left corner, in the measured half-size picture
        int y = 0;
    };
    const Most& general() const { return general_.most; }
    const Most& red() const { return red_.most; }
    // The largest share of a field that changed at once, by each rule: a quarter makes a flash.
    float largestGeneralChange() const { return general_.largest; }
    float largestRedChange() const { return red_.largest; }

private:
    // One rule's changes, pixel by pixel, and the fields' last second of them.
    struct Rule {
        std::vector<float> from;        // the value at the pixel's last change, or its first
        std::vector<std::int8_t> going; // the direction of that change; 0 before any
        std::vector<std::deque<int>> changes; // per field: the frames in the last second with a change
        Most most;
        float largest = 0.0f;
    };
    void follow(Rule& rule, const std::vector<float>& values, bool general);

    int source_width_;
    int width_; // of the picture measured, half the one shown
    int height_;
    int field_width_;
    int field_height_;
    int frame_ = 0;
    Rule general_;
    Rule red_;
    std::vector<float> luminance_;       // this frame's, per pixel
    std::vector<float> red_values_;      // and its saturated red
    std::vector<std::uint8_t> changed_; // this frame, per pixel
    std::vector<int> sums_;             // its running sums, for the area of each field
};
