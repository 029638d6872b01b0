#include "Options.h"

#include <charconv>
#include <ctime>

namespace {

bool number(const std::string& text, long long low, long long high, long long& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && out >= low && out <= high;
}

// 2026-12-10T20:00:00Z as seconds since 1970.
std::optional<long long> instant(const std::string& text) {
    std::tm utc{};
    if (text.size() != 20 || text[10] != 'T' || text[19] != 'Z') return std::nullopt;
    long long parts[6] = {};
    const std::size_t at[6] = {0, 5, 8, 11, 14, 17};
    const std::size_t size[6] = {4, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i)
        if (!number(text.substr(at[i], size[i]), 0, 9999, parts[i])) return std::nullopt;
    utc.tm_year = static_cast<int>(parts[0]) - 1900;
    utc.tm_mon = static_cast<int>(parts[1]) - 1;
    utc.tm_mday = static_cast<int>(parts[2]);
    utc.tm_hour = static_cast<int>(parts[3]);
    utc.tm_min = static_cast<int>(parts[4]);
    utc.tm_sec = static_cast<int>(parts[5]);
    return static_cast<long long>(timegm(&utc));
}

} // namespace

std::string boardUsage() {
    return "Usage: moonvale-board [options]\n"
           "  --data DIR             where board.sqlite is kept (default: the current folder)\n"
           "  --postgres CONNINFO    keep the board in PostgreSQL instead (libpq's connection string)\n"
           "  --listen ADDRESS       the address to listen on (default 127.0.0.1)\n"
           "  --port N               the port (default 8080)\n"
           "  --threads N            connections served at once (default 64)\n"
           "  --site DIR             also serve the game's web build from DIR, on the same origin\n"
           "  --verifier PATH        the game, whose --verify proves each run (default: moonvale beside this)\n"
           "  --workers N            runs verified at once (default 2)\n"
           "  --queue N              runs waiting at most; beyond it, 503 (default 256)\n"
           "  --verify-seconds N     wall-clock limit of one verification (default 20)\n"
           "  --verify-memory-mb N   its address-space limit, 0 for none (default 512)\n"
           "  --trust-proxy          take the caller's address from X-Real-IP (behind the shipped nginx site)\n"
           "  --pretend-now TIME     start the board's clock at TIME, e.g. 2026-12-10T20:00:00Z (for tests)\n"
           "  --backup FROM TO       copy the live SQLite database FROM into TO, then exit\n"
           "  --help\n";
}

BoardOptions parseBoardOptions(const std::vector<std::string>& arguments) {
    BoardOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= arguments.size()) {
                options.error = name + " needs a value";
                return false;
            }
            out = arguments[++i];
            return true;
        };
        const auto count = [&](long long low, long long high, auto& out) {
            std::string text;
            long long parsed = 0;
            if (!value(text)) return;
            if (!number(text, low, high, parsed)) {
                options.error = name + " takes a number from " + std::to_string(low) + " to " + std::to_string(high);
                return;
            }
            out = static_cast<std::remove_reference_t<decltype(out)>>(parsed);
        };
        std::string text;
        if (name == "--help") {
            options.help = true;
        } else if (name == "--data") {
            value(options.data);
        } else if (name == "--postgres") {
            value(options.postgres);
        } else if (name == "--listen") {
            value(options.listen);
        } else if (name == "--port") {
            count(1, 65535, options.port);
        } else if (name == "--threads") {
            count(1, 1024, options.threads);
        } else if (name == "--site") {
            value(options.site);
        } else if (name == "--verifier") {
            value(options.settings.verifier);
        } else if (name == "--workers") {
            count(1, 64, options.settings.workers);
        } else if (name == "--queue") {
            count(1, 1000000, options.settings.queue_size);
        } else if (name == "--verify-seconds") {
            count(1, 3600, options.settings.limits.wall_seconds);
        } else if (name == "--verify-memory-mb") {
            count(0, 1 << 20, options.settings.limits.memory_mb);
        } else if (name == "--trust-proxy") {
            options.trust_proxy = true;
        } else if (name == "--pretend-now") {
            if (value(text) && !(options.pretend_start = instant(text))) options.error = "--pretend-now takes a time like 2026-12-10T20:00:00Z";
        } else if (name == "--backup") {
            std::string to;
            if (value(text) && value(to)) options.backup = {text, to};
        } else {
            options.error = "unknown option " + name;
        }
        if (!options.error.empty()) break;
    }
    return options;
}
