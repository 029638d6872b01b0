#include "shell/Settings.h"

#include "shell/AtomicFile.h"

#include <SDL3/SDL.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <optional>

namespace {

constexpr std::array<std::string_view, 3> kKeys = {"fullscreen", "volume", "mute"};

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The key of a key=value line, or empty for blank lines, comments and anything else.
std::string_view keyOf(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() == '#' || line.front() == ';') return {};
    const auto equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view{} : trim(line.substr(0, equals));
}

std::optional<bool> parseBool(std::string_view value) {
    if (value == "true" || value == "1" || value == "yes" || value == "on") return true;
    if (value == "false" || value == "0" || value == "no" || value == "off") return false;
    return std::nullopt;
}

std::optional<int> parseVolume(std::string_view value) {
    int volume = -1;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), volume);
    if (error != std::errc() || end != value.data() + value.size() || volume < 0 || volume > 100) {
        return std::nullopt;
    }
    return volume;
}

std::string valueOf(const Settings& settings, std::string_view key) {
    if (key == "fullscreen") return settings.fullscreen ? "true" : "false";
    if (key == "volume") return std::to_string(settings.volume);
    return settings.mute ? "true" : "false";
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

} // namespace

Settings parseSettings(std::string_view text, std::vector<std::string>& problems) {
    Settings settings;
    for (const std::string& line : splitLines(text)) {
        const std::string_view key = keyOf(line);
        if (key.empty()) continue;
        const std::string_view value = trim(std::string_view(line).substr(line.find('=') + 1));
        bool ok = true;
        if (key == "fullscreen") {
            const auto parsed = parseBool(value);
            ok = parsed.has_value();
            settings.fullscreen = parsed.value_or(Settings{}.fullscreen);
        } else if (key == "mute") {
            const auto parsed = parseBool(value);
            ok = parsed.has_value();
            settings.mute = parsed.value_or(Settings{}.mute);
        } else if (key == "volume") {
            const auto parsed = parseVolume(value);
            ok = parsed.has_value();
            settings.volume = parsed.value_or(Settings{}.volume);
        }
        if (!ok) problems.push_back("bad value for " + std::string(key) + ": \"" + std::string(value) + "\"");
    }
    return settings;
}

std::string formatSettings(const Settings& settings, const std::vector<std::string>& old_lines) {
    std::string text;
    std::vector<std::string_view> written;
    for (const std::string& line : old_lines) {
        const std::string_view key = keyOf(line);
        const bool known = std::find(kKeys.begin(), kKeys.end(), key) != kKeys.end();
        if (!known) {
            text += line + '\n';
            continue;
        }
        // A key given twice is written once, where it first stood.
        if (std::find(written.begin(), written.end(), key) != written.end()) continue;
        written.push_back(key);
        text += std::string(key) + '=' + valueOf(settings, key) + '\n';
    }
    for (const std::string_view key : kKeys) {
        if (std::find(written.begin(), written.end(), key) == written.end()) {
            text += std::string(key) + '=' + valueOf(settings, key) + '\n';
        }
    }
    return text;
}

Settings SettingsFile::load() {
    lines_.clear();
    std::ifstream file(file_path_, std::ios::binary);
    if (!file) return {}; // no file yet (or a folder, or unreadable): the defaults, silently
    std::string text;
    text.resize(MAX_BYTES + 1);
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(file.gcount()));
    if (file.bad() || text.size() > MAX_BYTES || text.find('\0') != std::string::npos) {
        SDL_Log("Settings file %s is not a settings file; using the defaults", file_path_.c_str());
        return {};
    }
    std::vector<std::string> problems;
    const Settings settings = parseSettings(text, problems);
    for (const std::string& problem : problems) {
        SDL_Log("Settings file %s: %s; using the default", file_path_.c_str(), problem.c_str());
    }
    lines_ = splitLines(text);
    return settings;
}

bool SettingsFile::save(const Settings& settings) {
    const std::string text = formatSettings(settings, lines_);
    if (!writeFileAtomically(file_path_, text)) {
        SDL_Log("Cannot save the settings to %s", file_path_.c_str());
        return false;
    }
    lines_ = splitLines(text);
    return true;
}
