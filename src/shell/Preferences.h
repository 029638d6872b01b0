#pragma once
#include "shell/Settings.h"

#include <SDL3/SDL.h>
#include <SDL3_ttf/SDL_ttf.h>

#include <optional>
#include <string>

class Game;

// The player's settings at work: F11 and Alt+Enter toggle fullscreen, M mutes, minus and plus step
// the master volume with a short note on screen (unless the player gave one of those keys to an action),
// and the Options screen changes the rest. Every change is kept in the settings file; what the
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
    // The Options screen's: each applies at once and is kept. Volumes are clamped into 0..100.
    void setVolume(int volume);
    void setMusicVolume(int volume);
    void setEffectsVolume(int volume);
    void setSlowToggles(bool toggles);
    void setGameSpeed(int percent); // one of the assist's speeds
    void setReduceFlashes(bool reduce, bool keep_it = true); // keep_it false: for this run alone
    void setLargeText(bool large);
    // As set, or else as the system asks.
    bool reducesFlashes() const;
    // A language's code, or empty for the system's.
    void setLanguage(std::string code);
    void setControlsSeen();
    // The player's answer to the board's question: asked once, then changed only in Options.
    void setBoardSending(bool send, const std::string& name);
    // The action that held binding before, which now has action's old one.
    std::optional<Action> bind(Action action, Binding binding);
    // Everything on the Options screen back to its default.
    void resetToDefaults();
    // While the Options screen waits for a new key, M, F11 and the volume keys are keys like any other.
    void setCapturingKeys(bool capturing) { is_capturing_keys_ = capturing; }

    const Settings& getSettings() const { return settings_; }
    const Bindings& getBindings() const { return settings_.bindings; }
    // The note on screen now, or empty.
    const std::string& getNote() const { return note_; }

private:
    // Applies change to what is in force and to what is kept, then saves.
    template <typename Change> void keep(Change change);
    void applyVolume();
    void applyLanguage();
    std::string volumeNote() const;
    void showNote(std::string text);

    Game& game_;
    SettingsFile file_;
    Settings settings_; // in force now
    Settings stored_;   // as in the file: without what the command line asked for this run
    std::string note_;
    float note_timer_ = 0.0f;
    bool is_capturing_keys_ = false;
    TTF_Text* note_text_ = nullptr; // ours, destroyed with us (before the text engine goes)
};
