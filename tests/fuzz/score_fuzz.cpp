// Any bytes read as a score file: the first four, least significant first, and nothing else.
#include "scenes/ScoreFile.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::int32_t score = parseScore(std::string_view(reinterpret_cast<const char*>(data), size));
    std::uint8_t padded[4] = {0, 0, 0, 0};
    std::memcpy(padded, data, size < 4 ? size : 4);
    const auto expected = static_cast<std::int32_t>(padded[0] | padded[1] << 8 | padded[2] << 16 |
                                                    static_cast<std::uint32_t>(padded[3]) << 24);
    if (score != expected) std::abort();
    return 0;
}
