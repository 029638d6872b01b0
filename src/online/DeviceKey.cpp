#include "online/DeviceKey.h"

#include "replay/Hex.h"
#include "shell/AtomicFile.h"

#include <array>
#include <fstream>

#if defined(_WIN32)
// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on
#elif defined(__EMSCRIPTEN__)
#include <cstddef>
// The browser's crypto.getRandomValues, which musl declares only for GNU or BSD sources.
extern "C" int getentropy(void* buffer, std::size_t length);
#else
#include <sys/random.h>
#endif

namespace {

constexpr std::size_t kBytes = 32;

bool secureRandom(std::array<unsigned char, kBytes>& bytes) {
#if defined(_WIN32)
    return BCryptGenRandom(nullptr, bytes.data(), static_cast<ULONG>(bytes.size()), BCRYPT_USE_SYSTEM_PREFERRED_RNG) ==
           0;
#elif defined(__EMSCRIPTEN__)
    return getentropy(bytes.data(), bytes.size()) == 0;
#else
    return getrandom(bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size());
#endif
}

} // namespace

bool DeviceKey::isValid(const std::string& key) {
    return isHex(key, kBytes * 2);
}

std::optional<std::string> DeviceKey::make() {
    std::array<unsigned char, kBytes> bytes{};
    if (!secureRandom(bytes)) return std::nullopt;
    return toHex(bytes);
}

std::optional<std::string> DeviceKey::loadOrMake(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string key(kBytes * 2 + 2, '\0');
    file.read(key.data(), static_cast<std::streamsize>(key.size()));
    key.resize(static_cast<std::size_t>(file.gcount()));
    while (!key.empty() && (key.back() == '\n' || key.back() == '\r'))
        key.pop_back();
    if (isValid(key)) return key;
    // Missing or damaged: a new key, which the board sees as a new player.
    std::optional<std::string> made = make();
    if (!made || !writeFileAtomically(path, *made + "\n")) return std::nullopt;
    return made;
}
