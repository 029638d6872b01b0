#include "shell/Settings.h"

#include "i18n/Language.h"
#include "online/BoardAddress.h"
#include "replay/Replay.h"
#include "shell/AtomicFile.h"

#include <SDL3/SDL.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <optional>

namespace {

// The first three are always written, the rest when they matter (see the header).
constexpr std::size_t kAlwaysWritten = 3;
constexpr std::string_view kBindingPrefix = "key_";

std::vector<std::string> knownKeys() {
    std::vector<std::string> keys = {"fullscreen",     "volume",      "mute",          "music_volume",
                                     "effects_volume", "slow_motion", "controls_seen", "language",
                                     "board_url",      "board_asked", "board_send",    "board_name",
                                     "game_speed",     "reduce_flashes", "text_size"};
    for (std::size_t i = 0; i < ACTION_COUNT; ++i)
        keys.push_back(std::string(kBindingPrefix) + std::string(actionName(static_cast<Action>(i))));
    return keys;
}

const std::vector<std::string>& keys() {
    static const std::vector<std::string> all = knownKeys();
    return all;
}

std::optional<Action> bindingKey(std::string_view key) {
    if (!key.starts_with(kBindingPrefix)) return std::nullopt;
    key.remove_prefix(kBindingPrefix.size());
    for (std::size_t i = 0; i < ACTION_COUNT; ++i) {
        if (actionName(static_cast<Action>(i)) == key) return static_cast<Action>(i);
    }
    return std::nullopt;
}

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

// The plain keys, read and written by the same tables.
constexpr std::array<std::pair<std::string_view, bool Settings::*>, 5> kSwitches = {
    {{"fullscreen", &Settings::fullscreen},
     {"mute", &Settings::mute},
     {"controls_seen", &Settings::controls_seen},
     {"board_asked", &Settings::board_asked},
     {"board_send", &Settings::board_send}}};
// A name longer than this is no name the board takes (16 characters of up to four bytes).
constexpr std::size_t kMaxBoardName = 64;
constexpr std::array<std::pair<std::string_view, int Settings::*>, 3> kVolumes = {
    {{"volume", &Settings::volume},
     {"music_volume", &Settings::music_volume},
     {"effects_volume", &Settings::effects_volume}}};

template <typename Field, std::size_t N>
Field Settings::*fieldOf(const std::array<std::pair<std::string_view, Field Settings::*>, N>& table,
                         std::string_view key) {
    for (const auto& [name, field] : table) {
        if (name == key) return field;
    }
    return nullptr;
}

std::string valueOf(const Settings& settings, std::string_view key) {
    if (const auto field = fieldOf(kSwitches, key)) return settings.*field ? "true" : "false";
    if (const auto field = fieldOf(kVolumes, key)) return std::to_string(settings.*field);
    if (key == "slow_motion") return settings.slow_toggles ? "toggle" : "hold";
    if (key == "game_speed") return std::to_string(settings.game_speed);
    if (key == "text_size") return settings.large_text ? (*settings.large_text ? "large" : "normal") : "";
    if (key == "reduce_flashes")
        return settings.reduce_flashes ? (*settings.reduce_flashes ? "true" : "false") : "";
    if (key == "language") return settings.language;
    if (key == "board_url") return settings.board_url;
    if (key == "board_name") return settings.board_name;
    return bindingName(settings.bindings.get(*bindingKey(key)));
}

// Each action's line, in file order; a bad name, "none", a mouse button on a key-only action, or a
// binding an earlier line already took is refused. An action without a line that stands keeps its
// default; where a line took that default, it takes the taker's own default in exchange, as Options
// would, so that every action keeps a key.
Bindings parseBindings(const std::vector<std::pair<Action, std::string>>& lines,
                       std::vector<std::string>& problems) {
    std::array<std::optional<Binding>, ACTION_COUNT> chosen;
    std::array<std::string, ACTION_COUNT> refused; // why each action's last line was refused
    for (const auto& [action, value] : lines) {
        const std::size_t index = static_cast<std::size_t>(action);
        const std::string key = std::string(kBindingPrefix) + std::string(actionName(action));
        chosen[index].reset();
        refused[index].clear();
        const std::optional<Binding> binding = bindingFromName(value);
        if (binding && binding->isNone()) {
            refused[index] = key + ": an action cannot be without a key";
            continue;
        }
        if (!binding || (binding->mouse_button != 0 && !takesMouseButton(action))) {
            refused[index] = std::string("unknown key name for ").append(key).append(": \"").append(value) + '"';
            continue;
        }
        const auto taken = std::find(chosen.begin(), chosen.end(), binding);
        if (taken != chosen.end()) {
            const Action holder = static_cast<Action>(taken - chosen.begin());
            refused[index] = std::string(key).append(": \"").append(value).append("\" is already the key for ") +
                             std::string(actionName(holder));
            continue;
        }
        chosen[index] = binding;
    }
    Bindings bindings;
    for (std::size_t i = 0; i < ACTION_COUNT; ++i) {
        const auto action = static_cast<Action>(i);
        if (!chosen[i]) {
            // Each step visits an action holding the previous default, never one twice: a free
            // default is met within ACTION_COUNT steps.
            Binding fallback = Bindings::defaultFor(action);
            for (std::size_t step = 0; step < ACTION_COUNT; ++step) {
                const auto holder = std::find(chosen.begin(), chosen.end(), fallback);
                if (holder == chosen.end()) break;
                fallback = Bindings::defaultFor(static_cast<Action>(holder - chosen.begin()));
            }
            chosen[i] = fallback;
            const std::string name = std::string(actionName(action));
            if (fallback != Bindings::defaultFor(action)) {
                problems.push_back((refused[i].empty() ? "" : refused[i] + "; ") + name + " takes " +
                                   bindingName(fallback) + " instead of its default, " +
                                   bindingName(Bindings::defaultFor(action)) + ", which another action has");
            } else if (!refused[i].empty()) {
                problems.push_back(refused[i] + "; " + name + " keeps its default, " + bindingName(fallback));
            }
        }
        bindings.set(action, *chosen[i]);
    }
    return bindings;
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
    std::vector<std::pair<Action, std::string>> binding_lines;
    for (const std::string& line : splitLines(text)) {
        const std::string_view key = keyOf(line);
        if (key.empty()) continue;
        const std::string_view value = trim(std::string_view(line).substr(line.find('=') + 1));
        bool ok = true;
        // A bad value leaves the field at its default.
        if (const auto field = fieldOf(kSwitches, key)) {
            const auto parsed = parseBool(value);
            ok = parsed.has_value();
            settings.*field = parsed.value_or(Settings{}.*field);
        } else if (const auto volume = fieldOf(kVolumes, key)) {
            const auto parsed = parseVolume(value);
            ok = parsed.has_value();
            settings.*volume = parsed.value_or(Settings{}.*volume);
        } else if (key == "slow_motion") {
            ok = value == "hold" || value == "toggle";
            settings.slow_toggles = value == "toggle";
        } else if (key == "game_speed") {
            const auto parsed = parseVolume(value);
            ok = parsed && isGameSpeed(*parsed);
            settings.game_speed = ok ? *parsed : Settings{}.game_speed;
        } else if (key == "text_size") {
            // Empty: as the screen suggests.
            ok = value.empty() || value == "normal" || value == "large";
            settings.large_text = value == "large" ? std::optional(true)
                                  : value == "normal" ? std::optional(false)
                                                      : std::nullopt;
        } else if (key == "reduce_flashes") {
            // Empty: as the system asks.
            const auto parsed = parseBool(value);
            ok = value.empty() || parsed.has_value();
            settings.reduce_flashes = parsed;
        } else if (key == "language") {
            // Empty or unknown: the system's language, as if the line were not there.
            ok = value.empty() || languageIndex(value).has_value();
            settings.language = ok ? std::string(value) : std::string();
        } else if (key == "board_url") {
            std::string why;
            const std::optional<std::string> address =
                value.empty() ? std::optional<std::string>("") : parseBoardAddress(value, why);
            ok = address.has_value();
            settings.board_url = address.value_or("");
        } else if (key == "board_name") {
            ok = value.size() <= kMaxBoardName;
            settings.board_name = ok ? std::string(value) : std::string();
        } else if (const std::optional<Action> action = bindingKey(key)) {
            binding_lines.emplace_back(*action, std::string(value));
        }
        if (!ok) {
            problems.push_back("bad value for " + std::string(key) + ": \"" + std::string(value) + "\"; " +
                               (key == "language" ? "the system's language is used" : "using the default"));
        }
    }
    settings.bindings = parseBindings(binding_lines, problems);
    return settings;
}

std::string formatSettings(const Settings& settings, const std::vector<std::string>& old_lines) {
    std::string text;
    std::vector<std::string_view> written;
    for (const std::string& line : old_lines) {
        const std::string_view key = keyOf(line);
        const bool known = std::find(keys().begin(), keys().end(), key) != keys().end();
        if (!known) {
            text += line + '\n';
            continue;
        }
        // A key given twice is written once, where it first stood.
        if (std::find(written.begin(), written.end(), key) != written.end()) continue;
        written.push_back(key);
        // The system's: no line says it.
        if ((key == "language" || key == "reduce_flashes" || key == "text_size") && valueOf(settings, key).empty())
            continue;
        text += std::string(key) + '=' + valueOf(settings, key) + '\n';
    }
    const Settings defaults;
    for (std::size_t i = 0; i < keys().size(); ++i) {
        const std::string& key = keys()[i];
        if (std::find(written.begin(), written.end(), key) != written.end()) continue;
        const std::string value = valueOf(settings, key);
        if (i >= kAlwaysWritten && value == valueOf(defaults, key)) continue;
        text.append(key).append("=").append(value) += '\n';
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
    Settings settings = parseSettings(text, problems);
    for (const std::string& problem : problems) {
        SDL_Log("Settings file %s: %s", file_path_.c_str(), problem.c_str());
    }
    lines_ = splitLines(text);
    return settings;
}

bool SettingsFile::save(const Settings& settings) {
    const std::string text = formatSettings(settings, lines_);
    if (!writeFileAtomically(file_path_, text)) {
        // Every change tries again; a full disk would otherwise fill the log with this line.
        if (!said_cannot_save_) SDL_Log("Cannot save the settings to %s", file_path_.c_str());
        said_cannot_save_ = true;
        return false;
    }
    lines_ = splitLines(text);
    return true;
}
