#pragma once
#include <glm/glm.hpp>

#include <bit>
#include <cstdint>

// FNV-1a over values added one by one, each as its exact bytes in a fixed order: the same state gives
// the same hash on every platform, whatever its structs' layout.
class StateHash {
public:
    void add(std::uint64_t value) {
        for (int i = 0; i < 8; ++i) {
            hash_ ^= (value >> (8 * i)) & 0xFFu;
            hash_ *= 0x100000001B3ull;
        }
    }
    void add(float value) { add(static_cast<std::uint64_t>(std::bit_cast<std::uint32_t>(value))); }
    void add(glm::vec2 value) {
        add(value.x);
        add(value.y);
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xCBF29CE484222325ull;
};
