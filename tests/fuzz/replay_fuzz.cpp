// Any bytes read as a replay: an error or a replay, never a crash, a hang or an allocation the bytes do
// not pay for; what it reads writes back to the same bytes.
#include "replay/Replay.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(std::string_view bytes) {
    const auto decoded = decodeReplay(bytes);
    const Replay* replay = std::get_if<Replay>(&decoded);
    if (replay && decodeReplay(encodeReplay(*replay)).index() != 0) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    check(bytes);
    // Past the checksum too: the same bytes with the checksum they need.
    if (size < 4) return 0;
    std::string sealed(bytes.substr(0, size - 4));
    const std::uint32_t crc = replayChecksum(sealed);
    for (int i = 0; i < 4; ++i)
        sealed.push_back(static_cast<char>(crc >> (8 * i)));
    check(sealed);
    return 0;
}
