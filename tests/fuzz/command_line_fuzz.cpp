// Any arguments (NUL-separated in the input): a run the game can follow names only a renderer it has.
#include "shell/CommandLine.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> arguments;
    for (std::size_t start = 0; start <= input.size();) {
        const std::size_t end = std::min(input.find('\0', start), input.size());
        arguments.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    const std::vector<std::string> renderers = {"software", "opengl"};
    const LaunchOptions options = parseCommandLine(arguments, renderers);
    const bool known = options.renderer.empty() ||
                       std::find(renderers.begin(), renderers.end(), options.renderer) != renderers.end();
    if (options.error.empty() && !known) std::abort();
    if (usageText("moonvale", renderers).empty()) std::abort();
    return 0;
}
