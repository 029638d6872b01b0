#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the player asked for on the command line. Settings given here hold for this run only.
struct LaunchOptions {
    bool help = false;
    bool version = false;
    std::optional<bool> fullscreen; // --fullscreen / --windowed; unset: as the settings say
    bool mute = false;
    std::string renderer;              // empty: SDL's choice
    std::optional<std::uint32_t> seed; // unset: every game draws its own
    std::string replay;                // a replay to watch in the window
    std::string verify;                // a replay to play headless and check
    std::string board;                 // the board's address for this run, checked
    std::string watch_date;            // a run on the board to watch: that day's...
    int watch_rank = 0;                // ...at that place (1: the best); 0: none
    std::string error;                 // set when the command line cannot be followed
};

// arguments excludes the program name. renderers lists the render drivers SDL offers here.
LaunchOptions parseCommandLine(const std::vector<std::string>& arguments,
                               const std::vector<std::string>& renderers);
std::string usageText(const std::string& program, const std::vector<std::string>& renderers);
