#include "shell/LogFile.h"

#include <ctime>
#include <filesystem>
#include <fstream>

namespace {

const char* categoryName(int category) {
    switch (category) {
    case SDL_LOG_CATEGORY_APPLICATION:
        return "APP";
    case SDL_LOG_CATEGORY_ERROR:
        return "ERROR";
    case SDL_LOG_CATEGORY_AUDIO:
        return "AUDIO";
    case SDL_LOG_CATEGORY_VIDEO:
        return "VIDEO";
    case SDL_LOG_CATEGORY_RENDER:
        return "RENDER";
    case SDL_LOG_CATEGORY_INPUT:
        return "INPUT";
    default:
        return "SDL";
    }
}

const char* priorityName(SDL_LogPriority priority) {
    switch (priority) {
    case SDL_LOG_PRIORITY_VERBOSE:
    case SDL_LOG_PRIORITY_DEBUG:
    case SDL_LOG_PRIORITY_TRACE:
        return "DEBUG";
    case SDL_LOG_PRIORITY_WARN:
        return "WARN";
    case SDL_LOG_PRIORITY_ERROR:
    case SDL_LOG_PRIORITY_CRITICAL:
        return "ERROR";
    default:
        return "INFO";
    }
}

// The distribution's own name for itself where it says one (Linux), else SDL's name for the platform.
std::string systemName() {
    std::string name = SDL_GetPlatform();
    std::ifstream release("/etc/os-release");
    std::string line;
    while (std::getline(release, line)) {
        if (!line.starts_with("PRETTY_NAME=")) continue;
        std::string pretty = line.substr(12);
        if (pretty.size() >= 2 && pretty.front() == '"' && pretty.back() == '"') {
            pretty = pretty.substr(1, pretty.size() - 2);
        }
        name += " (" + pretty + ")";
    }
    return name;
}

} // namespace

bool LogFile::open(const std::string& path) {
    close();
    std::error_code ignored; // no previous run, or a folder we cannot write: the open below tells
    std::filesystem::rename(path, path + ".1", ignored);
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) {
        SDL_Log("Cannot write the log file %s; the log goes to standard error only", path.c_str());
        return false;
    }
    written_ = 0;
    is_full_ = false;
    SDL_GetLogOutputFunction(&previous_, &previous_userdata_);
    SDL_SetLogOutputFunction(output, this);
    return true;
}

void LogFile::close() {
    if (!file_) return;
    SDL_SetLogOutputFunction(previous_, previous_userdata_);
    (void)std::fclose(file_); // nothing left to tell it to
    file_ = nullptr;
}

void LogFile::output(void* userdata, int category, SDL_LogPriority priority, const char* message) {
    auto* log = static_cast<LogFile*>(userdata);
    if (log->previous_) log->previous_(log->previous_userdata_, category, priority, message);
    log->write(category, priority, message);
}

void LogFile::write(int category, SDL_LogPriority priority, const char* message) {
    if (is_full_) return;
    char stamp[32] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    (void)std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    const std::string line = std::string(stamp) + " " + categoryName(category) + " " +
                             priorityName(priority) + ": " + message + "\n";
    if (written_ + static_cast<long>(line.size()) > MAX_BYTES - 128) {
        is_full_ = true;
        (void)std::fprintf(file_, "%s APP INFO: The log is full (%ld bytes); further lines are dropped\n",
                           stamp, MAX_BYTES);
        (void)std::fflush(file_);
        return;
    }
    // A line that does not fit on the disk is lost like the rest would be: the game plays on.
    (void)std::fputs(line.c_str(), file_);
    // A crash must not take the last lines with it: they are the ones a bug report needs.
    (void)std::fflush(file_);
    written_ += static_cast<long>(line.size());
}

void logRunHeader(const char* version, const std::string& arguments) {
    const int sdl = SDL_GetVersion();
    SDL_Log("Moonvale %s on %s, SDL %d.%d.%d (%s); started as: moonvale%s", version, systemName().c_str(),
            SDL_VERSIONNUM_MAJOR(sdl), SDL_VERSIONNUM_MINOR(sdl), SDL_VERSIONNUM_MICRO(sdl),
            SDL_GetRevision(), arguments.c_str());
}

void logDisplayHeader(SDL_Window* window) {
    const char* video = SDL_GetCurrentVideoDriver();
    const char* audio = SDL_GetCurrentAudioDriver();
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window, &w, &h);
    const SDL_DisplayMode* mode = SDL_GetCurrentDisplayMode(SDL_GetDisplayForWindow(window));
    SDL_Log("Video driver %s, audio driver %s; window %dx%d on a %dx%d display", video ? video : "none",
            audio ? audio : "none", w, h, mode ? mode->w : 0, mode ? mode->h : 0);
}
