#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// SHA-256 (FIPS 180-4): a run's id comes from its bytes, a player's from their key.
[[nodiscard]] std::array<std::uint8_t, 32> sha256(std::string_view bytes);
[[nodiscard]] std::string sha256Hex(std::string_view bytes);
