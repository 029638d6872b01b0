#pragma once
#include "shell/Settings.h"

#include <SDL3/SDL.h>
#include <SDL3_ttf/SDL_ttf.h>

#include <string>

class Game;

// The player's settings at work: F11 and Alt+Enter toggle fullscreen, M mutes, minus and plus step
// the master volume with a short note on screen. Every change is kept in the settings file; what the
// command line asks for holds for one run and is not written.
class Preferences {
public:
    static constexpr float NOTE_SECONDS = 1.0f;

    explicit Preferences(std::string file_path);
    Preferences(const Preferences&) = delete;
    Preferences& operator=(const Preferences&) = delete;
    ~Preferences();

    // Reads the file and applies it to the window and the mixer.
    void load();
    // True when the event was one of the keys above.
    bool handleEvent(const SDL_Event& event);
    void update(float dt);
    void render();

    // keep_it: remember the choice in the settings file (a key press), or not (the command line).
    void setFullscreen(bool fullscreen, bool keep_it);
    void setMute(bool mute, bool keep_it);
    void stepVolume(int steps);

    const Settings& getSettings() const { return settings_; }
    // The note on screen now, or empty.
    const std::string& getNote() const { return note_; }

private:
    void applyVolume();
    std::string volumeNote() const;
    void showNote(std::string text);

    Game& game_;
    SettingsFile file_;
    Settings settings_; // in force now
    Settings stored_;   // as in the file: without what the command line asked for this run
    std::string note_;
    float note_timer_ = 0.0f;
    TTF_Text* note_text_ = nullptr; // ours, destroyed with us (before the text engine goes)
};
