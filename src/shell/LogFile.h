#pragma once
#include <SDL3/SDL.h>

#include <cstdio>
#include <string>

// Every line of SDL's log also written to a file a player can send with a bug report, as standard error
// shows it with a time stamp in front. The previous run's file is kept with ".1" added; one run writes at
// most MAX_BYTES, then says once that the rest is dropped. A folder where the file cannot be written
// leaves standard error alone.
class LogFile {
public:
    static constexpr long MAX_BYTES = 1024L * 1024L;

    LogFile() = default;
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;
    ~LogFile() { close(); }

    // False (and nothing else changes) when the file cannot be created.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }

private:
    static void output(void* userdata, int category, SDL_LogPriority priority, const char* message);
    void write(int category, SDL_LogPriority priority, const char* message);

    std::FILE* file_ = nullptr;
    long written_ = 0;
    bool is_full_ = false;
    SDL_LogOutputFunction previous_ = nullptr; // standard error, as SDL set it up
    void* previous_userdata_ = nullptr;
};

// What a bug report needs first: the game's version, the system and SDL's version; and, once the game
// is up, the drivers and the window and display sizes.
void logRunHeader(const char* version, const std::string& arguments);
void logDisplayHeader(SDL_Window* window);
