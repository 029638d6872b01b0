// Any text read as settings, written back and read again gives the same settings, without a problem.
#include "shell/Settings.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> problems;
    const Settings first = parseSettings(text, problems);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    const std::string written = formatSettings(first, lines);
    problems.clear();
    const Settings second = parseSettings(written, problems);
    if (!(second == first) || !problems.empty()) std::abort();
    return 0;
}
