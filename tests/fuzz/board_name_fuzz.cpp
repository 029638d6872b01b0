// A name the board accepts is accepted again as it is shown (the rules hold after normalisation), and
// is 2 to 16 characters of valid UTF-8.
#include "Names.h"

#include <unistr.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const NameCheck check = checkName(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!check.why.empty()) return 0;
    const auto* shown = reinterpret_cast<const uint8_t*>(check.name.data());
    const std::size_t characters = u8_mbsnlen(shown, check.name.size());
    if (u8_check(shown, check.name.size()) != nullptr || characters < 2 || characters > 16) std::abort();
    const NameCheck again = checkName(check.name);
    if (!again.why.empty() || again.name != check.name) std::abort();
    return 0;
}
