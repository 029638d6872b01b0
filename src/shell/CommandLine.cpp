#include "shell/CommandLine.h"

#include <algorithm>

LaunchOptions parseCommandLine(const std::vector<std::string>& arguments,
                               const std::vector<std::string>& renderers) {
    LaunchOptions options;
    for (std::size_t i = 0; i < arguments.size() && options.error.empty(); ++i) {
        const std::string& argument = arguments[i];
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
        } else if (argument == "--renderer" || argument.starts_with("--renderer=")) {
            std::string name;
            if (argument == "--renderer") {
                if (i + 1 == arguments.size()) {
                    options.error = "--renderer needs a NAME";
                    break;
                }
                name = arguments[++i];
            } else {
                name = argument.substr(std::string("--renderer=").size());
            }
            if (std::find(renderers.begin(), renderers.end(), name) == renderers.end()) {
                options.error = "no renderer called \"" + name + "\" here";
            }
            options.renderer = name;
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
           "  --help           show this help and exit\n"
           "  --version        show the version and exit\n"
           "\n"
           "Keys: W A S D move, the arrows aim, left click or Space strikes, the right button or\n"
           "Left Shift slows time, Esc pauses, F11 or Alt+Enter toggles fullscreen, M mutes, - and +\n"
           "change the volume. Options, on the title and when paused, changes the keys.\n";
}
