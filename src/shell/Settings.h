#pragma once
#include "shell/Bindings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the player chose beyond the rules of play, kept between runs.
struct Settings {
    static constexpr int VOLUME_STEP = 10;
    bool fullscreen = false;
    int volume = 100; // master volume in percent, 0..100, on top of the game's own mix
    bool mute = false;
    int music_volume = 100; // each on top of the master volume
    int effects_volume = 100;
    bool slow_toggles = false;  // slow motion: held (false) or switched on and off by a press
    int game_speed = 100;       // the assist, in percent: 50 to 100 in steps of ten, from the next game
    std::optional<bool> reduce_flashes; // softer strikes; unset: as the system asks (prefers-reduced-motion)
    std::optional<bool> large_text;     // unset: large where a game pixel is small (a phone)
    bool controls_seen = false; // the first game's card of controls has been closed
    std::string language;       // a language's code; empty: the system's
    std::string board_url;      // the daily run's board; empty: none
    bool board_asked = false;   // the player answered whether daily runs go to the board
    bool board_send = false;    // the player agreed that daily runs go to the board
    std::string board_name;     // the player's name there; empty: the board makes one
    Bindings bindings;

    bool operator==(const Settings&) const = default;
};

// settings.ini: plain key=value lines. Lines this version does not know (other keys, comments) are
// kept, in place, when the file is rewritten. The first three keys are always written; the later ones
// once they differ from their default or stand in the file, so an old file changes only where the
// player changed something.
class SettingsFile {
public:
    // Files larger than this are not settings anyone wrote by hand; they are ignored.
    static constexpr std::size_t MAX_BYTES = std::size_t{64} * 1024;

    explicit SettingsFile(std::string file_path) : file_path_(std::move(file_path)) {}

    // A missing, unreadable, binary or huge file, or a folder of that name, gives the defaults; a bad
    // value gives that key's default. Each problem is logged once.
    Settings load();
    // Rewrites the file through a temporary and a rename; false when that is impossible, which is
    // logged the first time.
    bool save(const Settings& settings);

    const std::string& getFilePath() const { return file_path_; }

private:
    std::string file_path_;
    std::vector<std::string> lines_; // as last read or written, so unknown lines survive a rewrite
    bool said_cannot_save_ = false;
};

// The pure halves of load and save; problems are described in plain words, one per bad line.
Settings parseSettings(std::string_view text, std::vector<std::string>& problems);
std::string formatSettings(const Settings& settings, const std::vector<std::string>& old_lines);
