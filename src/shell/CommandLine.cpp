#include "shell/CommandLine.h"

#include "online/BoardAddress.h"
#include "replay/Daily.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace {

// A seed as the player typed it: decimal, 0 to 4294967295, nothing else.
std::optional<std::uint32_t> parseSeed(const std::string& text) {
    if (text.empty() || text.size() > 10 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const unsigned long long value = std::stoull(text);
    if (value > UINT32_MAX) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

} // namespace

LaunchOptions parseCommandLine(const std::vector<std::string>& arguments,
                               const std::vector<std::string>& renderers) {
    LaunchOptions options;
    for (std::size_t i = 0; i < arguments.size() && options.error.empty(); ++i) {
        const std::string& argument = arguments[i];
        // An option's value, as "--name VALUE" or "--name=VALUE"; nullopt (and the error set) without one.
        const auto value = [&](const std::string& name, const char* what) -> std::optional<std::string> {
            if (argument.starts_with(name + "=")) return argument.substr(name.size() + 1);
            if (i + 1 < arguments.size()) return arguments[++i];
            options.error = name + " needs " + what;
            return std::nullopt;
        };
        const auto is = [&](const std::string& name) {
            return argument == name || argument.starts_with(name + "=");
        };
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--fullscreen") {
            options.fullscreen = true;
        } else if (argument == "--windowed") {
            options.fullscreen = false;
        } else if (argument == "--mute") {
            options.mute = true;
        } else if (is("--renderer")) {
            const std::optional<std::string> name = value("--renderer", "a NAME");
            if (!name) break;
            if (std::find(renderers.begin(), renderers.end(), *name) == renderers.end()) {
                options.error = "no renderer called \"" + *name + "\" here";
            }
            options.renderer = *name;
        } else if (is("--seed")) {
            const std::optional<std::string> text = value("--seed", "a NUMBER");
            if (!text) break;
            options.seed = parseSeed(*text);
            if (!options.seed)
                options.error = "the seed must be a whole number from 0 to 4294967295, not \"" + *text + "\"";
        } else if (is("--replay") || is("--verify")) {
            const bool verify = is("--verify");
            const std::optional<std::string> file = value(verify ? "--verify" : "--replay", "a FILE");
            if (!file) break;
            (verify ? options.verify : options.replay) = *file;
        } else if (is("--board")) {
            const std::optional<std::string> address = value("--board", "a URL");
            if (!address) break;
            std::string why;
            const std::optional<std::string> parsed = parseBoardAddress(*address, why);
            if (!parsed) options.error = "\"" + *address + "\" is no board address: " + why;
            options.board = parsed.value_or("");
        } else if (is("--watch")) {
            const std::optional<std::string> run = value("--watch", "DATE/RANK");
            if (!run) break;
            const std::size_t slash = run->find('/');
            const std::string date = run->substr(0, slash);
            int rank = 0;
            const char* digits = slash == std::string::npos ? nullptr : run->c_str() + slash + 1;
            const char* end = digits ? run->c_str() + run->size() : nullptr;
            const auto [stop, failed] = digits ? std::from_chars(digits, end, rank) : std::from_chars_result{};
            if (!isDay(date) || !digits || failed != std::errc() || stop != end || rank < 1 || rank > 100000) {
                options.error = "\"" + *run + "\" is no run on a board: DATE/RANK, as 2026-12-09/1";
                break;
            }
            options.watch_date = date;
            options.watch_rank = rank;
        } else {
            options.error = "unknown option \"" + argument + "\"";
        }
    }
    return options;
}

std::string usageText(const std::string& program, const std::vector<std::string>& renderers) {
    std::string names;
    for (const std::string& name : renderers)
        names += (names.empty() ? "" : ", ") + name;
    return "Usage: " + program +
           " [OPTION]...\n"
           "Moonvale: steer a ghost through waves of spirits and strike them with thunder.\n"
           "\n"
           "  --fullscreen     start in fullscreen (this run only)\n"
           "  --windowed       start in a window (this run only)\n"
           "  --mute           start with the sound off (this run only)\n"
           "  --renderer NAME  draw with this SDL renderer: " +
           names +
           "\n"
           "  --seed N         start every game from seed N (0 to 4294967295): the same waves for the same\n"
           "                   inputs\n"
           "  --replay FILE    watch a recorded game (assets/last.mvr, best.mvr); Esc leaves\n"
           "  --verify FILE    play a recorded game again without a window, check that it comes out the\n"
           "                   same, and exit: 0 if it does, 1 if not, 2 if the file cannot be read\n"
           "  --board URL      the daily run's board for this run (http:// or https://); runs are sent\n"
           "                   only once the player has agreed\n"
           "  --watch DATE/RANK  watch that run of a closed day on the board (2026-12-09/1: its best)\n"
           "  --help           show this help and exit\n"
           "  --version        show the version and exit\n"
           "\n"
           "Keys: W A S D move, the arrows aim, left click or Space strikes, the right button or\n"
           "Left Shift slows time, Esc pauses, F11 or Alt+Enter toggles fullscreen, M mutes, - and +\n"
           "change the volume. Options, on the title screen and when paused, changes the keys.\n";
}
