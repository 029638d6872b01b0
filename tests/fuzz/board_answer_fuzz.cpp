// Whatever a board answers, the listing the game draws keeps its promises: at most ten lines, each with a
// rank from 1, a name of 1 to 16 letters (and "..." where cut) without control characters, an 8-digit
// tag and an id of 32 hex digits or none.
#include "online/BoardAnswer.h"
#include "replay/Hex.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    const auto lines = board_answer::listingOf(body);
    if (!lines) return 0;
    if (lines->size() > 10) std::abort();
    for (const board_answer::Line& line : *lines) {
        std::size_t letters = 0;
        for (const char c : line.name) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte == 0x7F) std::abort();
            letters += (byte & 0xC0) != 0x80;
        }
        if (line.rank < 1 || letters == 0 || letters > 19 || !isHex(line.tag, 8)) std::abort();
        if (!line.id.empty() && !isHex(line.id, 32)) std::abort();
    }
    return 0;
}
