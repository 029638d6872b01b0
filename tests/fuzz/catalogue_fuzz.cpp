// Any bytes read as a compiled catalogue: refused or read, never a read outside them.
#include "i18n/Catalogue.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto catalogue = Catalogue::parse({reinterpret_cast<const char*>(data), size});
    if (catalogue) (void)catalogue->find("button", "START");
    return 0;
}
