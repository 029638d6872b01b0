#pragma once
#include <glm/glm.hpp>

#include <cstdint>
#include <random>

// One stream of random numbers that every platform draws alike for the same seed: MT19937's 32-bit
// outputs (which the standard fixes exactly) turned into floats by our own rule, not by
// std::generate_canonical, whose result differs between standard libraries.
class Random {
public:
    explicit Random(std::uint32_t seed = 5489u) : engine_(seed) {}

    void seed(std::uint32_t value) {
        engine_.seed(value);
        draws_ = 0;
    }
    std::uint32_t next() {
        ++draws_;
        return static_cast<std::uint32_t>(engine_());
    }
    // How many numbers were drawn since the seed: a replay's state hash holds it.
    std::uint64_t getDraws() const { return draws_; }
    // Uniform over [min, max), or min when the two are equal.
    float uniform(float min, float max);
    // Each axis so, x drawn first.
    glm::vec2 uniform(glm::vec2 min, glm::vec2 max);

private:
    std::mt19937 engine_;
    std::uint64_t draws_ = 0;
};
