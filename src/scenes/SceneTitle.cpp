#include "scenes/SceneTitle.h"

#include "components/TextLabel.h"
#include "core/Game.h"
#include "i18n/Translation.h"
#include "replay/Daily.h"
#include "scenes/SceneMain.h"
#include "scenes/ScoreFile.h"
#include "shell/Gamepad.h"
#include "online/BoardLink.h"
#include "shell/Preferences.h"
#include "ui/BoardQuestion.h"
#include "ui/ConfirmBox.h"
#include "ui/ControlsHelp.h"
#include "ui/HUDButton.h"
#include "ui/HUDText.h"
#include "ui/OptionsMenu.h"
#include "ui/TitleBoard.h"
#include "ui/UIMouse.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr const char* kFont = "assets/font/VonwaonBitmap-16px.ttf";
constexpr const char* kPanel = "assets/UI/Textfield_01.png";
} // namespace

SceneTitle::SceneTitle(std::string notice) : notice_(std::move(notice)) {}
SceneTitle::~SceneTitle() = default;

void SceneTitle::init() {
    Scene::init();
    game_.stopPlayback(); // a replay watched from here ends here
    loadData(highScoreFile(Replay::FULL_SPEED));
    const int smallest = game_.textSize(16);
    SDL_Log("Text size: %s; its smallest words are %d px, %.1f window units high here",
            game_.isTextLarge() ? "large" : "normal", smallest, static_cast<double>(static_cast<float>(smallest) * game_.pictureScale()));
    SDL_HideCursor();
    game_.playMusic("assets/bgm/Spooky music.mp3", true);
    const glm::vec2 screen = game_.getScreenSize();
    const glm::vec2 centre = screen / 2.0f;
    HUDText::addHUDTextChild(this, " Moonvale ", centre - glm::vec2(0.0f, 100.0f),
                             {screen.x / 2.0f, screen.y / 3.0f}, kFont, 64, kPanel, Anchor::CENTER);
    scores_text_ = HUDText::addHUDTextChild(this, "", centre + glm::vec2(0.0f, 100.0f), {200.0f, 50.0f},
                                            kFont, 24, kPanel, Anchor::CENTER);
    button_start_ = HUDButton::addHUDButtonChild(this, centre + glm::vec2(-200.0f, 200.0f),
                                                 "assets/UI/A_Start1.png", "assets/UI/A_Start2.png",
                                                 "assets/UI/A_Start3.png", 2.0f, Anchor::CENTER);
    button_quit_ =
        HUDButton::addHUDButtonChild(this, centre + glm::vec2(200.0f, 200.0f), "assets/UI/A_Quit1.png",
                                     "assets/UI/A_Quit2.png", "assets/UI/A_Quit3.png", 2.0f, Anchor::CENTER);
    button_credits_ = HUDButton::addHUDButtonChild(this, centre + glm::vec2(0.0f, 200.0f),
                                                   "assets/UI/A_Credits1.png", "assets/UI/A_Credits2.png",
                                                   "assets/UI/A_Credits3.png", 2.0f, Anchor::CENTER);
    button_options_ = HUDButton::addHUDButtonChild(this, centre + glm::vec2(0.0f, 260.0f),
                                                   "assets/UI/A_Options1.png", "assets/UI/A_Options2.png",
                                                   "assets/UI/A_Options3.png", 2.0f, Anchor::CENTER);
    button_daily_ = HUDButton::addHUDButtonChild(this, centre + glm::vec2(-200.0f, 260.0f),
                                                 "assets/UI/A_Daily1.png", "assets/UI/A_Daily2.png",
                                                 "assets/UI/A_Daily3.png", 2.0f, Anchor::CENTER);
    button_start_->setLabel(msg("button", "START"));
    button_quit_->setLabel(msg("button", "QUIT"));
    button_credits_->setLabel(msg("button", "CREDITS"));
    button_options_->setLabel(msg("button", "OPTIONS"));
    // TRANSLATORS: the daily challenge: one run a day from the day's seed, the same for every player.
    button_daily_->setLabel(msg("button", "DAILY"));
    controls_text_ = HUDText::addHUDTextChild(this, "", {centre.x, 90.0f}, {100.0f, 30.0f}, kFont, 16, kPanel,
                                              Anchor::CENTER);
    credits_text_ =
        HUDText::addHUDTextChild(this, "", centre, {500.0f, 500.0f}, kFont, 16, kPanel, Anchor::CENTER);
    credits_text_->setActive(false);
    notice_text_ = HUDText::addHUDTextChild(this, "", centre + glm::vec2(0.0f, 45.0f), {100.0f, 30.0f}, kFont, 16,
                                            kPanel, Anchor::CENTER);
    offerKeptRun();
    updateWords();
    setPadButtons();
    showBoard();
    options_ = OptionsMenu::addOptionsMenuChild(this);
    board_question_ = BoardQuestion::addBoardQuestionChild(this);
    confirm_ = ConfirmBox::addConfirmBoxChild(this);
    // A daily run left before its end, with the player not yet asked about the board.
    if (BoardLink* link = game_.getBoardLink(); link && link->hasUnasked())
        board_question_->open([link](bool) { link->releaseUnasked(); });
    ui_mouse_ = UIMouse::addUIMouseChild(this, "assets/UI/pointer_c_shaded.png",
                                         "assets/UI/pointer_c_shaded.png", 1.0f, Anchor::TOP_LEFT);
}

bool SceneTitle::handleEvents(SDL_Event& event) {
    if (confirm_->getIsActive()) return confirm_->handleEvents(event);
    if (board_question_->getIsActive()) return board_question_->handleEvents(event);
    if (options_->getIsActive()) return options_->handleEvents(event);
    // Nothing under the credits takes a click, not even its press.
    if (credits_text_->getIsActive()) {
        if (closesCredits(event)) credits_text_->setActive(false);
        return true;
    }
    if (pad_menu_.handleEvent(event)) return true;
    return Scene::handleEvents(event);
}

void SceneTitle::update(float dt) {
    color_timer_ += dt;
    updateColor();
    if (words_language_.changed() || words_speed_ != game_.gameSpeedOfNewGame()) updateWords();
    updateControls();
    if (credits_text_->getIsActive() || options_->getIsActive() || board_question_->getIsActive() ||
        confirm_->getIsActive()) {
        ui_mouse_->update(dt); // the menu stands still under the credits; only the cursor moves
        return;
    }
    Scene::update(dt);
    checkButtonStart();
    checkButtonQuit();
    checkButtonCredits();
    showBoard();
    if (board_) board_->update();
    if (button_options_->isTrigger()) {
        pad_menu_.clearHighlight();
        options_->open();
    }
}

void SceneTitle::render() {
    renderBackground();
    Scene::render();
}

void SceneTitle::clean() {
    Scene::clean();
}

// The first title of a run shows before the board is set up: its listing joins as soon as it is.
void SceneTitle::showBoard() {
    BoardLink* link = game_.getBoardLink();
    if (board_ || !link) return;
    board_ = std::make_unique<TitleBoard>(*this, *link);
    // The cursor stays above everything, when it is there already.
    if (ui_mouse_) {
        removeChild(ui_mouse_);
        addChild(ui_mouse_);
    }
    setPadButtons();
}

void SceneTitle::setPadButtons() {
    std::vector<HUDButton*> buttons = {button_start_, button_credits_, button_quit_, button_options_, button_daily_};
    if (button_continue_) buttons.push_back(button_continue_);
    if (board_) buttons.push_back(board_->getWatchButton());
    pad_menu_.setButtons(std::move(buttons));
}

void SceneTitle::offerKeptRun() {
    std::variant<std::monostate, KeptRun, std::string> kept = game_.getRunKeeper().read();
    if (std::string* why = std::get_if<std::string>(&kept)) {
        SDL_Log("The run in progress in assets/run.mvr cannot be continued: %s; it is kept aside as "
                "assets/run-refused.mvr",
                why->c_str());
        notice_ = fill(tr("title line", "The run in progress cannot be continued: {reason}"), {{"reason", *why}});
        game_.getRunKeeper().setAside();
    }
    KeptRun* run = std::get_if<KeptRun>(&kept);
    if (!run) return;
    kept_run_ = std::move(*run);
    SDL_Log("A run in progress is kept (seed %u, %u frames%s): CONTINUE goes on with it",
            kept_run_->replay.seed, kept_run_->replay.frame_count,
            kept_run_->daily_date.empty() ? "" : (", the daily run of " + kept_run_->daily_date).c_str());
    const glm::vec2 centre = game_.getScreenSize() / 2.0f;
    button_continue_ = HUDButton::addHUDButtonChild(this, centre + glm::vec2(-400.0f, 200.0f),
                                                    "assets/UI/A_Start1.png", "assets/UI/A_Start2.png",
                                                    "assets/UI/A_Start3.png", 2.0f, Anchor::CENTER);
    button_continue_->setLabel(msg("button", "CONTINUE"));
}

void SceneTitle::startGame(bool daily) {
    const auto start = [this, daily] {
        game_.safeChangeScene(daily ? new SceneMain(todayInUtc()) : new SceneMain);
    };
    if (!kept_run_) {
        start();
        return;
    }
    pad_menu_.clearHighlight();
    confirm_->open(tr("title question", "Discard the run in progress?"), tr("title question", "Discard it"),
                   tr("title question", "Keep it"), [this, start](bool discard) {
                       if (!discard) return;
                       SDL_Log("The run in progress is discarded for a new game");
                       game_.getRunKeeper().forget();
                       kept_run_.reset();
                       start();
                   });
}

void SceneTitle::loadData(const std::string& file_path) {
    game_.setHighScore(readScoreFile(file_path));
}

void SceneTitle::updateColor() {
    boundary_color_.r = 0.5f + 0.5f * std::sin(color_timer_ * 0.9f);
    boundary_color_.g = 0.5f + 0.5f * std::sin(color_timer_ * 0.8f);
    boundary_color_.b = 0.5f + 0.5f * std::sin(color_timer_ * 0.7f);
}

void SceneTitle::checkButtonStart() {
    if (button_start_->isTrigger()) startGame(false);
    if (button_daily_->isTrigger()) startGame(true);
    if (button_continue_ && button_continue_->isTrigger() && kept_run_) {
        game_.safeChangeScene(new SceneMain(std::move(*kept_run_)));
        kept_run_.reset();
    }
}

void SceneTitle::checkButtonQuit() {
    if (button_quit_->isTrigger()) game_.quit();
}

void SceneTitle::checkButtonCredits() {
    if (button_credits_->isTrigger()) credits_text_->setActive(true);
}

// The scores and the credits in the language on screen.
void SceneTitle::updateWords() {
    // Today's daily run beside the high score, once it was played today.
    const std::optional<std::int32_t> daily = dailyBest(todayInUtc());
    const std::string high = std::to_string(game_.getHighScore());
    std::string scores = daily ? fill(tr("scores", "High Score: {score}   Daily: {daily}"),
                                      {{"score", high}, {"daily", std::to_string(*daily)}})
                               : fill(tr("scores", "High Score: {score}"), {{"score", high}});
    // The next game is assisted: its own best beneath.
    words_speed_ = game_.gameSpeedOfNewGame();
    if (words_speed_ != Replay::FULL_SPEED) {
        scores.append("\n").append(SceneMain::bestLine(words_speed_, readScoreFile(highScoreFile(words_speed_))));
    }
    scores_text_->setText(scores);
    // The panel grows round longer words, never below its usual size.
    const glm::vec2 text = scores_text_->getTextLabel()->getSize();
    scores_text_->setSize(daily || words_speed_ != Replay::FULL_SPEED ? text + glm::vec2(40.0f)
                                : glm::vec2(std::max(200.0f, text.x + 40.0f), 50.0f));
    // The file holds the English words, which are also what its translations are filed under.
    const std::string credits = game_.loadTextFile("assets/credits.txt");
    credits_text_->setText(tr("credits", credits.c_str()));
    credits_text_->setBgSizeByText(50.0f);
    notice_text_->setText(notice_);
    notice_text_->setBgSizeByText(12.0f);
    notice_text_->setActive(!notice_.empty());
    updateControls(true);
}

// Follows the player's keys and whichever of pad, fingers or keyboard and mouse they last used.
void SceneTitle::updateControls(bool force) {
    const Settings& settings = game_.getPreferences()->getSettings();
    const PadNames* pad = game_.getPadNamesInUse();
    const bool same_pad = pad ? controls_for_pad_ == *pad : !controls_for_pad_;
    const bool touch = game_.isTouchLastUsed();
    const bool same = settings.bindings == controls_bindings_ &&
                      settings.slow_toggles == controls_slow_toggles_ && same_pad &&
                      touch == controls_for_touch_ && game_.isTextLarge() == controls_large_;
    if (same && !force) return;
    controls_bindings_ = settings.bindings;
    controls_slow_toggles_ = settings.slow_toggles;
    controls_for_pad_ = pad ? std::optional(*pad) : std::nullopt;
    controls_for_touch_ = touch;
    controls_large_ = game_.isTextLarge();
    const std::string line =
        touch ? touchControlsLine(settings.slow_toggles) : controlsLine(settings.bindings, settings.slow_toggles, pad);
    controls_text_->setText(controls_large_ ? inTwoLines(line) : line);
    controls_text_->setBgSizeByText(64.0f);
}

// Any mouse release closes the credits, and is used up doing so: it cannot finish a click underneath.
// So do Esc and the pad's east button (and south, which opened them).
bool SceneTitle::closesCredits(const SDL_Event& event) const {
    if (event.type == SDL_EVENT_MOUSE_BUTTON_UP) return true;
    if (event.type == SDL_EVENT_KEY_DOWN && event.key.key == SDLK_ESCAPE) return true;
    const PadAction action = padActionOf(event);
    return action == PadAction::BACK || action == PadAction::PRIMARY;
}

void SceneTitle::renderBackground() {
    const glm::vec2 screen = game_.getScreenSize();
    game_.drawBoundary({30.0f, 30.0f}, screen - glm::vec2(30.0f), 10.0f, boundary_color_);
}
