#pragma once
#include "core/Graphics.h"
#include "core/Random.h"
#include "replay/Playback.h"
#include "replay/Recorder.h"
#include "shell/Bindings.h"
#include "shell/Devices.h"
#include "shell/LiveInput.h"

#include <SDL3/SDL.h>
#include <SDL3_mixer/SDL_mixer.h>
#include <SDL3_ttf/SDL_ttf.h>
#include <glm/glm.hpp>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class AssetStore;
class BoardLink;
class BoardSender;
class Preferences;
class RunKeeper;
class Scene;
struct Texture;

// What the loop does after a frame that took elapsed_ns: how long to sleep, and the dt of the next update.
struct FramePace {
    Uint64 sleep_ns = 0;
    float dt = 0.0f;
};
[[nodiscard]] FramePace paceFrame(Uint64 elapsed_ns, Uint64 frame_delay_ns);

// The one process-wide object: window, renderer, audio, assets, randomness, score and the current scene,
// with the frame loop that drives them and the services every object calls.
class Game {
public:
    static constexpr int EFFECT_TRACKS = 16;
    static constexpr float VOLUME = 0.25f;             // a quarter of full scale, for effects and music alike
    static constexpr float PAD_CURSOR_SPEED = Devices::PAD_CURSOR_SPEED;

    static Game& getInstance();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // False when there is no window or renderer to play in; the caller then cleans up and gives up.
    [[nodiscard]] bool init(const std::string& title, int width, int height);
    // The game with no window on screen, no sound and the software renderer, which draws the same
    // everywhere: for playing a replay again and for the tools that measure the picture. Only warnings
    // are logged. False (and cleaned) when it cannot start.
    [[nodiscard]] bool initHeadless();
    void run();
    // One pass of the loop without the sleep; returns how long the loop should sleep.
    Uint64 frame();
    void handleEvents();
    void update(float dt);
    void render();
    // What render does around the scene: a test may draw between them.
    void beginFrame() { graphics_.beginFrame(); }
    void endFrame() { graphics_.endFrame(); }
    // Off, every picture is drawn straight at the window's scale: the benchmark's comparison.
    void setScaledFrame(bool scaled) { graphics_.setScaledFrame(scaled); }
    void clean();
    void changeScene(Scene* scene);
    void safeChangeScene(Scene* scene);
    // Carries out a switch asked for with safeChangeScene; the loop does this after each render.
    void applyPendingScene();
    void quit() { is_running_ = false; }

    // Drawing, in logical screen coordinates (the Graphics' own, kept here where every object calls it).
    void renderTexture(const Texture& texture, glm::vec2 position, glm::vec2 size, glm::vec2 mask) {
        graphics_.renderTexture(texture, position, size, mask);
    }
    void renderHBar(glm::vec2 position, glm::vec2 size, float percent, SDL_FColor color) {
        graphics_.renderHBar(position, size, percent, color);
    }
    void drawGrid(glm::vec2 top_left, glm::vec2 bottom_right, float grid_width, SDL_FColor color) {
        graphics_.drawGrid(top_left, bottom_right, grid_width, color);
    }
    void drawBoundary(glm::vec2 top_left, glm::vec2 bottom_right, float boundary_width, SDL_FColor color) {
        graphics_.drawBoundary(top_left, bottom_right, boundary_width, color);
    }
    void drawPoints(const std::vector<glm::vec2>& points, glm::vec2 offset, SDL_FColor color) {
        graphics_.drawPoints(points, offset, color);
    }
    // The caller owns the result and destroys it with TTF_DestroyText.
    [[nodiscard]] TTF_Text* createTTF_Text(const std::string& text, const std::string& font_path,
                                           int font_size);

    // Audio.
    void playSound(const std::string& file_path);
    void playMusic(const std::string& file_path, bool loop);
    // Told of every effect the game asks to play, heard or not; for tests.
    void setSoundListener(std::function<void(const std::string&)> listener) {
        sound_listener_ = std::move(listener);
    }
    void pauseSound();
    void resumeSound();
    void pauseMusic();
    void resumeMusic();

    // The game's randomness, all from one stream that every game restarts from its seed, so that the
    // same seed and the same inputs meet the same waves.
    float randomFloat(float min, float max);
    glm::vec2 randomVec2(glm::vec2 min, glm::vec2 max);
    // Every game from now on starts from value (and both streams start from it now); otherwise each
    // game draws a fresh seed.
    void seed(std::uint32_t value);
    // Restarts the game's stream for a new game, from wanted if given (the daily run's); returns the
    // seed, which the log names. A replay being played back always has its own.
    std::uint32_t seedNewGame(std::optional<std::uint32_t> wanted = std::nullopt);
    // A new game's speed in percent: the replay's being played back, or else the player's setting.
    int gameSpeedOfNewGame() const;
    // The player's "Reduce flashes": strikes and bursts drawn see-through. Only looks: the rules stay.
    bool reducesFlashes() const;
    static constexpr float SOFT_FLASH = 0.35f; // their opacity then
    // The player's "Text size", or else large where a game pixel is shown under 0.75 CSS (or window)
    // pixels: a phone's, where the 16 px font would read at 9.
    bool isTextLarge() const;
    // Window units (a browser's CSS pixels) per game pixel, the picture letterboxed in the window.
    float pictureScale() const;
    // A font size as drawn: the small text grows by half in large text.
    int textSize(int size) const { return size <= 16 && isTextLarge() ? size * 3 / 2 : size; }
    // What only looks different from run to run (the stars): drawn apart, so the game's stream is the
    // same whatever is drawn.
    Random& getCosmeticRandom() { return cosmetic_random_; }
    std::uint64_t getRandomDraws() const { return random_.getDraws(); }

    // The player's input, one record a frame. A scene in play takes it as its update starts, from the
    // replay being played back or else the live devices; the world then reads getFrameInput, and the
    // recorder writes it down.
    const FrameInput& takeFrameInput(float dt, bool paused);
    const FrameInput& getFrameInput() const { return frame_input_; }
    // A strike asked for by an event in play, for the next frame's input.
    void noteStrike(glm::vec2 aim) { live_input_.noteStrike(aim); }
    // A new game: nothing of the last one's input carries over.
    void beginInput() { live_input_.begin(); }

    // Replays. The recorder writes down every game; a replay played back stands in for the player
    // in every game from then on (its seed, its frames' lengths and inputs).
    Recorder& getRecorder() { return recorder_; }
    void playBack(Replay replay) { playback_.emplace(std::move(replay)); }
    // A replay watched from the title: its BACK returns there, and the title ends the watching.
    void watch(Replay replay) {
        playBack(std::move(replay));
        watching_from_title_ = true;
    }
    bool isWatchingFromTitle() const { return watching_from_title_ && playback_.has_value(); }
    void stopPlayback() {
        playback_.reset();
        watching_from_title_ = false;
    }
    bool isPlayingBack() const { return playback_.has_value(); }
    bool isPlaybackOver() const { return playback_ && !playback_->current(); }
    // From its first frame again, to watch it once more.
    void restartPlayback() {
        if (playback_) playback_->restart();
    }
    // Plays the replay's frames that are left (or at most that many) at once, unseen and unheard: a run in
    // progress restored.
    void playToEnd(std::uint32_t most = UINT32_MAX);

    // The run in progress, kept on disk as it goes.
    RunKeeper& getRunKeeper() const { return *run_keeper_; }
    // The page is about to be hidden or closed: the scene keeps its run now.
    void keepRunNow();

    // Files.
    std::string loadTextFile(const std::string& file_path) const;

    glm::vec2 getScreenSize() const { return screen_size_; }
    Scene* getCurrentScene() const { return current_scene_.get(); }
    Scene* getNextScene() const { return next_scene_.get(); }
    AssetStore* getAssetStore() const { return asset_store_.get(); }
    // The player's devices (shell/Devices), asked here where objects ask.
    void updateMouse() { devices_.updateMouse(); }
    glm::vec2 getMousePosition() const { return devices_.getMousePosition(); }
    SDL_MouseButtonFlags getMouseButtons() const { return devices_.getMouseButtons(); }
    // Tests stand in for the pointer here; the next update reads the real one again.
    void setMouseState(glm::vec2 position, SDL_MouseButtonFlags buttons) { devices_.setMouseState(position, buttons); }
    bool isMouseInRect(glm::vec2 top_left, glm::vec2 bottom_right) const {
        return devices_.isMouseInRect(top_left, bottom_right);
    }
    // The keys held now, indexed by scancode; tests may stand in for the keyboard (null: the real one).
    const bool* getKeyboardState() const { return devices_.getKeyboardState(); }
    void setKeyboardOverride(const bool* keys) { devices_.setKeyboardOverride(keys); }
    Gamepad& getGamepad() { return devices_.getGamepad(); }
    const Touch& getTouch() const { return devices_.getTouch(); }
    // The player's keys (the defaults before the settings are read).
    const Bindings& getBindings() const;
    // The last thing the player used was the pad, not the keyboard, the mouse or a finger.
    bool isPadLastUsed() const { return devices_.isPadLastUsed(); }
    // A finger on the screen, not the keyboard, the mouse or the pad: the touch controls show.
    bool isTouchLastUsed() const { return devices_.isTouchLastUsed(); }
    // The pad's own words for its buttons while it is the last thing used; null otherwise.
    const PadNames* getPadNamesInUse() const {
        return isPadLastUsed() ? &devices_.getGamepad().getNames() : nullptr;
    }
    Preferences* getPreferences() const { return preferences_.get(); }
    // The daily run's board, when one is set and the player agreed to send to it; null otherwise.
    BoardSender* getBoard() const;
    // The board, when one is set and can be reached from here; null otherwise.
    BoardLink* getBoardLink() const { return board_.get(); }
    void setBoardLink(std::unique_ptr<BoardLink> board);
    SDL_Window* getWindow() const { return graphics_.getWindow(); }
    SDL_Renderer* getRenderer() const { return graphics_.getRenderer(); }
    MIX_Mixer* getMixer() const { return mixer_; }
    MIX_Track* getEffectTrack(int index) const { return effect_tracks_[index]; }
    MIX_Track* getMusicTrack() const { return music_track_; }
    bool getIsRunning() const { return is_running_; }
    // The loop can be started again after a quit (tests run several loops in one process).
    void setRunning(bool running) { is_running_ = running; }
    Uint64 getFrameDelay() const { return frame_delay_; }
    // For a loop that does not sleep (the browser's): how long the next frame's update covers.
    void setNextDt(float dt) { dt_ = dt; }

    int getScore() const { return score_; }
    void setScore(int score);
    void addScore(int score) { setScore(score_ + score); }
    int getHighScore() const { return high_score_; }
    void setHighScore(int high_score) { high_score_ = high_score; }

private:
    Game();
    ~Game();
    void initAudio();
    void handleFinger(const SDL_TouchFingerEvent& finger);
    // Hands the scene a click made by a finger, marked as the touch mouse's, at a point in game pixels.
    void sendTouchClick(bool down, glm::vec2 point);

    std::unique_ptr<AssetStore> asset_store_;
    std::unique_ptr<Preferences> preferences_; // goes before the text engine: it holds a text
    std::unique_ptr<BoardLink> board_;
    std::unique_ptr<RunKeeper> run_keeper_;
    Devices devices_;
    LiveInput live_input_;
    FrameInput frame_input_;
    Graphics graphics_; // the window and renderer, cleaned after the asset store and the text engine
    TTF_TextEngine* ttf_engine_ = nullptr;
    MIX_Mixer* mixer_ = nullptr; // owns the tracks below
    std::array<MIX_Track*, EFFECT_TRACKS> effect_tracks_{};
    MIX_Track* music_track_ = nullptr;
    Random random_;
    Random cosmetic_random_;
    Recorder recorder_;
    std::optional<Playback> playback_;
    bool watching_from_title_ = false;
    Uint64 FPS_ = 60;
    Uint64 frame_delay_ = 0;
    std::unique_ptr<Scene> current_scene_;
    std::unique_ptr<Scene> next_scene_;
    std::function<void(const std::string&)> sound_listener_;
    // Small values last: no padding between them.
    glm::vec2 screen_size_ = glm::vec2(0.0f);
    std::optional<std::uint32_t> fixed_seed_;
    float dt_ = 0.0f;
    int score_ = 0;
    int high_score_ = 0;
    bool is_running_ = true;
    bool is_quiet_ = false; // while a run is restored
};
