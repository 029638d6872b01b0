#include "core/Random.h"

#include <cmath>

float Random::uniform(float min, float max) {
    // The top 24 bits, exactly representable: a float in [0, 1) on a grid of 2^-24.
    const float unit = static_cast<float>(next() >> 8) * 0x1p-24f;
    const float value = min + unit * (max - min);
    // Rounding can land the sum on max itself; the range stays half-open.
    return value < max || max <= min ? value : std::nextafter(max, min);
}

glm::vec2 Random::uniform(glm::vec2 min, glm::vec2 max) {
    const float x = uniform(min.x, max.x);
    return {x, uniform(min.y, max.y)};
}
