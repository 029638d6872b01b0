#pragma once
#include "i18n/Translation.h"
#include "object/Scene.h"
#include "replay/RunKeeper.h"
#include "shell/Bindings.h"
#include "shell/PadNames.h"
#include "ui/PadMenu.h"

#include <memory>
#include <optional>

class BoardQuestion;
class ConfirmBox;
class HUDButton;
class HUDText;
class OptionsMenu;
class TitleBoard;
class UIMouse;

// The title: the name, the controls, the high score, start, credits, quit and options, inside a frame that
// slowly changes colour.
class SceneTitle : public Scene {
public:
    // notice: a line to show the player first (a run that could not be restored).
    explicit SceneTitle(std::string notice = {});
    ~SceneTitle() override;
    void init() override;
    bool handleEvents(SDL_Event& event) override;
    void update(float dt) override;
    void render() override;
    void clean() override;
    void loadData(const std::string& file_path) override;

    SDL_FColor getBoundaryColor() const { return boundary_color_; }
    HUDButton* getButtonStart() const { return button_start_; }
    HUDButton* getButtonCredits() const { return button_credits_; }
    HUDButton* getButtonQuit() const { return button_quit_; }
    HUDButton* getButtonOptions() const { return button_options_; }
    HUDButton* getButtonDaily() const { return button_daily_; }
    // There while a run in progress is kept; null otherwise.
    HUDButton* getButtonContinue() const { return button_continue_; }
    ConfirmBox* getConfirm() const { return confirm_; }
    // What the title has to tell first, if anything.
    HUDText* getNoticeText() const { return notice_text_; }
    HUDText* getScoresText() const { return scores_text_; }
    HUDText* getCreditsText() const { return credits_text_; }
    HUDText* getControlsText() const { return controls_text_; }
    OptionsMenu* getOptions() const { return options_; }
    BoardQuestion* getBoardQuestion() const { return board_question_; }
    UIMouse* getMouse() const { return ui_mouse_; }
    // Today's board, when the game has one; null otherwise.
    TitleBoard* getBoard() const { return board_.get(); }

private:
    void updateColor();
    void showBoard();
    void setPadButtons();
    // The run in progress, when one is kept: CONTINUE, or why it cannot be continued.
    void offerKeptRun();
    // Starting another game discards the run in progress, once the player says so.
    void startGame(bool daily);
    void checkButtonStart();
    void checkButtonQuit();
    void checkButtonCredits();
    void updateControls(bool force = false);
    void updateWords();
    void renderBackground();
    bool closesCredits(const SDL_Event& event) const;

    SDL_FColor boundary_color_ = {0.5f, 0.5f, 0.5f, 1.0f};
    float color_timer_ = 0.0f;
    // Children of this scene, owned through its screen list.
    HUDButton* button_start_ = nullptr;
    HUDButton* button_credits_ = nullptr;
    HUDButton* button_quit_ = nullptr;
    HUDButton* button_options_ = nullptr;
    HUDButton* button_daily_ = nullptr;
    HUDButton* button_continue_ = nullptr;
    ConfirmBox* confirm_ = nullptr;
    HUDText* notice_text_ = nullptr;
    HUDText* credits_text_ = nullptr;
    HUDText* scores_text_ = nullptr;
    HUDText* controls_text_ = nullptr;
    OptionsMenu* options_ = nullptr;
    // What the controls line was made from, so it is made again only when that changes.
    Bindings controls_bindings_;
    bool controls_slow_toggles_ = false;
    std::optional<PadNames> controls_for_pad_; // the pad whose words the line has, if any
    bool controls_for_touch_ = false;          // the line names the touch controls
    LanguageWatch words_language_;
    bool controls_large_ = false; // the controls line drawn in large text, in two lines
    int words_speed_ = Replay::FULL_SPEED; // the game speed whose best the scores show beside the high score
    UIMouse* ui_mouse_ = nullptr;
    std::unique_ptr<TitleBoard> board_;
    BoardQuestion* board_question_ = nullptr; // a child
    PadMenu pad_menu_; // visits start, credits, quit and options in the order they stand
    std::string notice_;
    std::optional<KeptRun> kept_run_;
};
