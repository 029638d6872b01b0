#pragma once
#include "object/Scene.h"
#include "online/BoardSender.h"
#include "replay/RunKeeper.h"
#include "ui/PadMenu.h"

#include <cstdint>
#include <optional>
#include <string>

class BoardQuestion;
class HUDButton;
class HUDStats;
class HUDText;
class OptionsMenu;
class PausePanel;
class Player;
class Spawner;
class Timer;
class UIMouse;

// One game: the three-screen world, the player, the waves, the interface and the game-over screen.
class SceneMain : public Scene {
public:
    SceneMain() = default;
    // The daily run of that day (YYYY-MM-DD in UTC): the day's seed, and its best game kept apart.
    explicit SceneMain(std::string daily_date) : daily_date_(std::move(daily_date)) {}
    // The kept run in progress, played again to where it was kept; it then waits, paused.
    explicit SceneMain(KeptRun run) : daily_date_(std::move(run.daily_date)), kept_run_(std::move(run.replay)) {}

    void init() override;
    bool handleEvents(SDL_Event& event) override;
    void update(float dt) override;
    void render() override;
    void clean() override;
    void saveData(const std::string& file_path) override;
    bool takesKeyboardAim() const override { return !is_pause_; }
    TouchMode touchMode() const override;
    void playFrame(const FrameInput& input) override;
    void keepRun() override;
    // The state a replay checks, hashed: the camera, the score, the player, the spawner, everything in
    // the world and how many random numbers were drawn.
    std::uint64_t stateHash() const;
    // "Best: 120", or for an assisted speed "Best at 70 % speed: 120".
    static std::string bestLine(int game_speed, int score);

    Player* getPlayer() const { return player_; }
    Spawner* getSpawner() const { return spawner_; }
    HUDButton* getButtonPause() const { return button_pause_; }
    HUDButton* getButtonRestart() const { return button_restart_; }
    HUDButton* getButtonBack() const { return button_back_; }
    HUDButton* getButtonOptions() const { return button_options_; }
    HUDText* getControlsCard() const { return controls_card_; }
    OptionsMenu* getOptions() const { return options_; }
    HUDText* getScoreText() const { return hud_text_score_; }
    HUDText* getSlowLabel() const { return slow_label_; }
    PausePanel* getPanel() const { return panel_; }
    UIMouse* getMouse() const { return ui_mouse_; }
    const PadMenu& getPadMenu() const { return pad_menu_; }
    std::uint32_t getSeed() const { return seed_; }
    const std::string& getDailyDate() const { return daily_date_; }

private:
    void updateScore();
    void checkButtonBack();
    void checkButtonPause();
    void checkButtonOptions();
    void showControlsCard();
    // True when the event closed the card: it is used up.
    bool closeControlsCard(const SDL_Event& event);
    void togglePause();
    void layOutButtons();
    void showPause();
    std::string scoreLines() const;
    // What the board says of this daily run, once it was sent there; empty otherwise.
    std::string boardLine() const;
    void refreshBoardLine();
    void showReplayEnd();
    void showEndButtons();
    bool handleAway(const SDL_Event& event);
    void checkButtonRestart();
    void leaveFor(Scene* next);
    void checkPlayerDead();
    void checkEndTimer();
    void renderBackground();
    // "Game speed 70 %", on an assisted game's screen.
    std::string gameSpeedMark() const;
    void restoreOrdinaryHighScore();
    // The game is over or left: its replay is kept (unless it is one being played back).
    void finishRecording();
    void askAboutBoard();
    // Plays the kept run again; false (and back to the title) when it does not land where it was kept.
    bool restoreKeptRun();
    // Keeps the run when it pauses and every few seconds of play.
    void keepRunNowAndThen(float dt);
    // False while the last one is still being written, unless told to wait for it.
    bool keepRunSoFar(bool wait);

    // All children of this scene, owned through its lists.
    Player* player_ = nullptr;
    Spawner* spawner_ = nullptr;
    UIMouse* ui_mouse_ = nullptr;
    HUDStats* hud_stats_ = nullptr;
    HUDText* hud_text_score_ = nullptr;
    HUDButton* button_pause_ = nullptr;
    HUDButton* button_restart_ = nullptr;
    HUDButton* button_back_ = nullptr;
    HUDButton* button_options_ = nullptr; // shown while paused
    HUDText* controls_card_ = nullptr;    // the first game's; null once closed
    HUDText* slow_label_ = nullptr;       // shown while slow motion is in force
    PausePanel* panel_ = nullptr;         // paused, game over, a replay's end
    OptionsMenu* options_ = nullptr;
    BoardQuestion* board_question_ = nullptr;
    Timer* end_timer_ = nullptr;
    enum class ButtonLayout { ROW, NONE, FINGERS }; // the desktop's row; none and large ones by touch
    ButtonLayout button_layout_ = ButtonLayout::ROW;
    bool is_over_ = false;        // game over, or a replay played to its end: Restart and Back remain
    bool replay_ended_ = false;
    PadMenu pad_menu_;            // plays the buttons above while the game stands still
    std::uint32_t seed_ = 0;      // this game's, which its waves follow
    int high_score_at_start_ = 0; // a game past it is kept as the best replay
    int game_speed_ = Replay::FULL_SPEED; // in percent, below it when assisted
    std::optional<int> ordinary_high_score_; // kept while an assisted game shows its own
    std::string daily_date_;      // the day whose daily run this is; empty for an ordinary game
    std::string board_ticket_;    // this daily run's in the board's queue, once queued
    BoardSender::Status board_status_; // as the game-over panel shows it
    std::optional<Replay> kept_run_;   // handed to the playback in init
    // Where the kept run stood, to restore it to on the first update.
    struct KeptEnd {
        std::uint32_t frames = 0;
        std::int32_t score = 0;
        std::uint64_t hash = 0;
    };
    std::optional<KeptEnd> restoring_;
    float played_since_kept_ = 0.0f;   // seconds of play
    bool was_paused_ = false;          // in the frame before
    bool keep_due_ = false;
};
