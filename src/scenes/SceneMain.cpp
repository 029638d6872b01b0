#include "scenes/SceneMain.h"

#include "actors/Player.h"
#include "actors/Spawner.h"
#include "actors/WeaponThunder.h"
#include "components/BgStar.h"
#include "components/Stats.h"
#include "components/TextLabel.h"
#include "components/Timer.h"
#include "core/Game.h"
#include "i18n/Translation.h"
#include "replay/Daily.h"
#include "replay/StateHash.h"
#include "scenes/SceneTitle.h"
#include "scenes/ScoreFile.h"
#include "shell/AtomicFile.h"
#include "shell/Gamepad.h"
#include "shell/PadNames.h"
#include "online/BoardLink.h"
#include "shell/Preferences.h"
#include "ui/ControlsHelp.h"
#include "ui/HUDButton.h"
#include "ui/HUDStats.h"
#include "ui/HUDText.h"
#include "ui/HUDTouch.h"
#include "ui/BoardQuestion.h"
#include "ui/OptionsMenu.h"
#include "ui/PausePanel.h"
#include "ui/UIMouse.h"

#include <algorithm>
#include <array>
#include <cinttypes>
#include <cmath>

namespace {
constexpr const char* kLastReplay = "assets/last.mvr";
constexpr const char* kFont = "assets/font/VonwaonBitmap-16px.ttf";
// A tab discarded in the background gives no warning: what is lost then is at most this much play.
constexpr float kKeepEvery = 5.0f;
} // namespace

void SceneMain::init() {
    Scene::init();
    if (kept_run_) { // its seed and frames, until it is restored
        restoring_ = KeptEnd{kept_run_->frame_count, kept_run_->final_score, kept_run_->final_hash};
        game_.playBack(std::move(*kept_run_));
        kept_run_.reset();
    }
    seed_ = game_.seedNewGame(daily_date_.empty() ? std::nullopt : std::optional(dailySeed(daily_date_)));
    if (!daily_date_.empty()) SDL_Log("The daily run of %s", daily_date_.c_str());
    game_speed_ = game_.gameSpeedOfNewGame();
    if (game_speed_ != Replay::FULL_SPEED) {
        SDL_Log("An assisted game: the world runs at %d %% speed; its best is kept apart", game_speed_);
        ordinary_high_score_ = game_.getHighScore();
        game_.setHighScore(readScoreFile(highScoreFile(game_speed_)));
    }
    high_score_at_start_ = game_.getHighScore();
    game_.getRecorder().begin(seed_, game_.getPreferences()->getSettings().slow_toggles, game_speed_);
    game_.beginInput();
    SDL_HideCursor();
    game_.playMusic("assets/bgm/OhMyGhost.ogg", true);
    const glm::vec2 screen = game_.getScreenSize();
    world_size_ = screen * 3.0f;
    camera_position_ = world_size_ / 2.0f - screen / 2.0f;

    player_ = new Player;
    player_->init();
    player_->setPosition(world_size_ / 2.0f);
    addChild(player_);

    BgStar::addBgStarChild(this, 2000, 0.2f, 0.5f, 0.7f);
    end_timer_ = Timer::addTimerChild(this, 3.0f);

    spawner_ = new Spawner;
    spawner_->init();
    spawner_->setTarget(player_);
    addChild(spawner_);

    const float w = screen.x;
    const float h = screen.y;
    // Over the world, under the interface.
    panel_ = PausePanel::addPausePanelChild(this);
    button_pause_ = HUDButton::addHUDButtonChild(this, {w - 230.0f, h - 30.0f}, "assets/UI/A_Pause1.png",
                                                 "assets/UI/A_Pause2.png", "assets/UI/A_Pause3.png", 1.0f,
                                                 Anchor::CENTER);
    button_restart_ = HUDButton::addHUDButtonChild(this, {w - 140.0f, h - 30.0f}, "assets/UI/A_Restart1.png",
                                                   "assets/UI/A_Restart2.png", "assets/UI/A_Restart3.png",
                                                   1.0f, Anchor::CENTER);
    button_back_ =
        HUDButton::addHUDButtonChild(this, {w - 50.0f, h - 30.0f}, "assets/UI/A_Back1.png",
                                     "assets/UI/A_Back2.png", "assets/UI/A_Back3.png", 1.0f, Anchor::CENTER);
    button_options_ = HUDButton::addHUDButtonChild(this, {w - 320.0f, h - 30.0f}, "assets/UI/A_Options1.png",
                                                   "assets/UI/A_Options2.png", "assets/UI/A_Options3.png",
                                                   1.0f, Anchor::CENTER);
    button_pause_->setLabel(msg("small button", "PAUSE"));
    button_restart_->setLabel(msg("small button", "RESTART"));
    button_back_->setLabel(msg("small button", "BACK"));
    button_options_->setLabel(msg("button", "OPTIONS"));
    button_options_->setActive(false);
    hud_stats_ = HUDStats::addHUDStatsChild(this, player_, {30.0f, 30.0f});
    hud_text_score_ = HUDText::addHUDTextChild(this, "", {w - 120.0f, 30.0f}, {200.0f, 50.0f}, kFont, 32,
                                               "assets/UI/Textfield_01.png", Anchor::CENTER);
    updateScore();
    if (!daily_date_.empty()) {
        HUDText* daily = HUDText::addHUDTextChild(this, tr("hud", "Daily run"), {w - 120.0f, 72.0f},
                                                  {100.0f, 30.0f}, kFont, 16, "assets/UI/Textfield_01.png",
                                                  Anchor::CENTER);
        daily->setBgSizeByText(16.0f);
    }
    if (game_speed_ != Replay::FULL_SPEED) { // said all game long: its score is not an ordinary one
        const glm::vec2 at = {w - 120.0f, daily_date_.empty() ? 72.0f : 104.0f};
        HUDText* assisted = HUDText::addHUDTextChild(this, gameSpeedMark(), at, {100.0f, 30.0f}, kFont, 16,
                                                     "assets/UI/Textfield_01.png", Anchor::CENTER);
        assisted->setBgSizeByText(16.0f);
    }
    slow_label_ = HUDText::addHUDTextChild(this, tr("hud", "Slow motion"), {w / 2.0f, 30.0f}, {100.0f, 30.0f},
                                           kFont, 16, "assets/UI/Textfield_01.png", Anchor::CENTER);
    slow_label_->setBgSizeByText(16.0f);
    slow_label_->setActive(false);
    // A replay being watched has no first-game card: nothing would close it.
    if (!game_.getPreferences()->getSettings().controls_seen && !game_.isPlayingBack()) showControlsCard();
    HUDTouch::addHUDTouchChild(this);
    options_ = OptionsMenu::addOptionsMenuChild(this);
    board_question_ = BoardQuestion::addBoardQuestionChild(this);
    // Last, so that it is drawn above the whole interface.
    ui_mouse_ = UIMouse::addUIMouseChild(this, "assets/UI/29.png", "assets/UI/30.png", 1.0f, Anchor::CENTER);
    pad_menu_.setButtons({button_pause_, button_restart_, button_back_, button_options_});
}

bool SceneMain::handleEvents(SDL_Event& event) {
    if (board_question_->getIsActive()) return board_question_->handleEvents(event);
    if (options_->getIsActive()) return options_->handleEvents(event);
    // The input that closes the first game's card does nothing else: no strike, no button underneath.
    if (closeControlsCard(event)) return true;
    const bool pause_key =
        event.type == SDL_EVENT_KEY_DOWN && game_.getBindings().isPressed(Action::PAUSE, event);
    // The pause key and the pad's Start are the Pause button; the game-over screen has none.
    if (pause_key || padActionOf(event) == PadAction::PAUSE) {
        if (!is_over_) togglePause();
        return true;
    }
    if (handleAway(event)) return false;
    if (is_pause_ && pad_menu_.handleEvent(event)) return true;
    return Scene::handleEvents(event);
}

TouchMode SceneMain::touchMode() const {
    if (options_->getIsActive() || board_question_->getIsActive() || is_over_) return TouchMode::MENU;
    return is_pause_ ? TouchMode::PAUSED : TouchMode::PLAY;
}

void SceneMain::update(float dt) {
    if (restoring_ && !restoreKeptRun()) return;
    // The game stands paused under the options, and waits behind the first game's card, recording
    // nothing; only the cursor moves.
    if (options_->getIsActive() || controls_card_ || board_question_->getIsActive()) {
        ui_mouse_->update(dt);
        return;
    }
    if (game_.isPlaybackOver()) {
        showReplayEnd();
        Scene::update(dt); // the world stands still; its buttons take the player's input
        checkButtonBack();
        checkButtonRestart();
        return;
    }
    // The one reading of the player's input this frame (a replay's pause is played as it was).
    const FrameInput& input = game_.takeFrameInput(dt, is_pause_);
    if (input.paused != is_pause_) {
        if (input.paused) {
            pause();
        } else {
            resume();
        }
    }
    game_.getRecorder().frame(input);
    if (input.slow) dt = static_cast<float>(static_cast<double>(dt) * 0.4);
    dt = atGameSpeed(dt, game_speed_);
    const float world_dt = is_pause_ ? 0.0f : dt;
    Scene::update(dt);
    // Before the buttons, which may end the recording: a game left in this frame keeps the frame's
    // check, as the game played again does.
    game_.getRecorder().afterUpdate(world_dt, [this] { return stateHash(); });
    updateScore();
    checkButtonBack();
    checkButtonPause();
    checkButtonOptions();
    checkButtonRestart();
    checkPlayerDead();
    checkEndTimer();
    refreshBoardLine();
    layOutButtons();
    showPause();
    slow_label_->setActive(input.slow && !is_pause_);
    keepRunNowAndThen(input.dt);
}

void SceneMain::keepRunNowAndThen(float dt) {
    if (is_pause_ && !was_paused_) keep_due_ = true;
    was_paused_ = is_pause_;
    if (!is_pause_) played_since_kept_ += dt;
    if (played_since_kept_ >= kKeepEvery) keep_due_ = true;
    // While the last one is still being written, the next frame tries again.
    if (keep_due_) keep_due_ = !keepRunSoFar(false);
}

void SceneMain::keepRun() {
    (void)keepRunSoFar(true);
}

// Only a game being played, not one watched, not yet begun or already over.
bool SceneMain::keepRunSoFar(bool wait) {
    const Recorder& recorder = game_.getRecorder();
    if (game_.isPlayingBack() || !recorder.isRecording() || recorder.getLast().frame_count == 0 || is_over_ ||
        !player_)
        return true;
    if (!game_.getRunKeeper().keep(recorder, game_.getScore(), stateHash(), daily_date_, wait))
        return false;
    played_since_kept_ = 0.0f;
    return true;
}

bool SceneMain::restoreKeptRun() {
    const KeptEnd kept = *restoring_;
    restoring_.reset();
    const Uint64 start = SDL_GetTicksNS();
    game_.playToEnd();
    game_.stopPlayback();
    const double seconds = static_cast<double>(SDL_GetTicksNS() - start) / 1e9;
    const std::uint64_t hash = stateHash();
    if (hash != kept.hash || game_.getScore() != kept.score) {
        SDL_Log("The run in progress could not be restored: played again, its %u frames end on score %d and "
                "state hash %016" PRIx64 ", not score %d and state hash %016" PRIx64 " as kept; it is kept aside "
                "as assets/run-refused.mvr",
                kept.frames, game_.getScore(), hash, kept.score, kept.hash);
        (void)game_.getRecorder().finish(game_.getScore(), hash); // not a game of the player's
        game_.getRunKeeper().setAside();
        game_.setScore(0);
        game_.safeChangeScene(new SceneTitle(tr("title line", "The run in progress could not be restored")));
        return false;
    }
    SDL_Log("Continued the run in progress: seed %u, %u frames played again in %.3f s, score %d, state hash "
            "%016" PRIx64 " as kept",
            seed_, kept.frames, seconds, kept.score, hash);
    // It waits for the player, paused, whatever it was doing when kept.
    if (!is_pause_) pause();
    was_paused_ = true;
    played_since_kept_ = 0.0f;
    button_options_->setActive(button_layout_ != ButtonLayout::NONE);
    return true;
}

// A replayed strike lands where the player's did: among the frame's events, before its pause takes hold,
// and only while the ghost could take one.
void SceneMain::playFrame(const FrameInput& input) {
    if (input.strike && player_ && player_->getIsActive()) player_->getWeapon()->strike(input.aim);
}

std::uint64_t SceneMain::stateHash() const {
    StateHash hash;
    hash.add(camera_position_);
    hash.add(static_cast<std::uint64_t>(game_.getScore()));
    hash.add(game_.getRandomDraws());
    hash.add(spawner_->getTimer());
    const Stats* stats = player_->getStats();
    hash.add(player_->getPosition());
    hash.add(player_->getVelocity());
    hash.add(stats->getHealth());
    hash.add(stats->getMana());
    hash.add(static_cast<std::uint64_t>(stats->getIsAlive()) |
             static_cast<std::uint64_t>(stats->getInvincible()) << 1);
    hash.add(player_->getWeapon()->getCoolDownTimer());
    hash.add(static_cast<std::uint64_t>(children_world_.size()));
    for (const ObjectWorld* object : children_world_) {
        hash.add(static_cast<std::uint64_t>(object->getType()));
        hash.add(object->getPosition());
        if (const auto* actor = dynamic_cast<const Actor*>(object); actor && actor->getStats()) {
            hash.add(actor->getVelocity());
            hash.add(actor->getStats()->getHealth());
        }
    }
    return hash.value();
}

void SceneMain::render() {
    renderBackground();
    Scene::render();
}

// The high score is saved on the way out through the buttons and at death, not here; a game left by
// closing the window still keeps its replay.
void SceneMain::clean() {
    if (player_) {
        keepRun(); // a game closed before its end goes on next time
        finishRecording();
        restoreOrdinaryHighScore();
    }
    Scene::clean();
}

void SceneMain::saveData(const std::string& file_path) {
    if (game_.isPlayingBack()) return; // a game watched again is not the player's
    if (writeScoreFile(file_path, game_.getHighScore())) return;
    // Saved on every frame after a death: say it once per run, not sixty times a second.
    static bool said = false;
    if (!said) {
        SDL_Log("The high score cannot be saved to %s: the folder is not writable or the disk is full",
                file_path.c_str());
    }
    said = true;
}

void SceneMain::updateScore() {
    hud_text_score_->setText(
        fill(tr("score", "Score: {score}"), {{"score", std::to_string(game_.getScore())}}));
    // Wider for longer words than the English, never narrower.
    const float text = hud_text_score_->getTextLabel()->getSize().x;
    hud_text_score_->setSize({std::max(200.0f, text + 16.0f), 50.0f});
}

void SceneMain::checkButtonBack() {
    if (!button_back_->isTrigger()) return;
    if (game_.isPlayingBack() && !game_.isWatchingFromTitle()) {
        game_.quit(); // watching is all this run was started for
        return;
    }
    leaveFor(new SceneTitle);
}

void SceneMain::checkButtonPause() {
    if (button_pause_->isTrigger()) togglePause();
}

void SceneMain::checkButtonOptions() {
    if (!button_options_->isTrigger()) return;
    pad_menu_.clearHighlight();
    options_->open();
}

void SceneMain::togglePause() {
    if (is_pause_) {
        resume();
        pad_menu_.clearHighlight(); // back to play: no button stays lit
    } else {
        pause();
    }
    button_options_->setActive(is_pause_);
}

// On the desktop the small row stays put. While the touch controls show, the pause button is the way
// in and the row is out of play; the pause screen then has buttons a finger can hit, clear of the
// hourglass.
void SceneMain::layOutButtons() {
    if (is_over_) return;
    const bool touch = game_.isTouchLastUsed();
    const ButtonLayout layout = !touch ? ButtonLayout::ROW : is_pause_ ? ButtonLayout::FINGERS : ButtonLayout::NONE;
    if (layout == button_layout_) return;
    button_layout_ = layout;
    const glm::vec2 screen = game_.getScreenSize();
    const std::array<HUDButton*, 4> row = {button_options_, button_pause_, button_restart_, button_back_};
    if (layout != ButtonLayout::FINGERS) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            row[i]->placeCentre({screen.x - 320.0f + 90.0f * static_cast<float>(i), screen.y - 30.0f}, 1.0f);
            row[i]->setActive(layout == ButtonLayout::ROW && (row[i] != button_options_ || is_pause_));
        }
        return;
    }
    // At least 48 CSS pixels high at the page's scale: the plates are 24 pixels high.
    const float unit = game_.getTouch().getLayout().unit;
    const float scale = std::clamp(std::ceil(48.0f * unit / 24.0f), 2.0f, 5.0f);
    const float column = std::max(200.0f, 88.0f * scale / 2.0f + 24.0f);
    const float top = 320.0f;
    const float next_row = 24.0f * scale + 24.0f;
    const std::array<glm::vec2, 4> places = {
        glm::vec2(screen.x / 2.0f - column, top + next_row), glm::vec2(screen.x / 2.0f - column, top),
        glm::vec2(screen.x / 2.0f + column, top), glm::vec2(screen.x / 2.0f + column, top + next_row)};
    for (std::size_t i = 0; i < row.size(); ++i) {
        row[i]->placeCentre(places[i], scale);
        row[i]->setActive(true);
    }
}

// Paused: a heading over the dimmed world, and on the desktop the way back.
void SceneMain::showPause() {
    if (is_over_) return;
    if (!is_pause_) {
        panel_->hide();
        return;
    }
    std::string lines;
    if (const PadNames* pad = game_.getPadNamesInUse()) {
        lines = fill(tr("panel line", "Press {key} to resume"), {{"key", pad->pause}});
    } else if (!game_.isTouchLastUsed()) {
        lines = fill(tr("panel line", "Press {key} to resume"),
                     {{"key", bindingLabel(game_.getBindings().get(Action::PAUSE))}});
    }
    panel_->show(tr("heading", "Paused"), lines);
}

// The scores of a game that has ended, one to a line.
std::string SceneMain::scoreLines() const {
    const int score = game_.getScore();
    std::string lines = fill(tr("score", "Score: {score}"), {{"score", std::to_string(score)}});
    lines.append("\n").append(bestLine(game_speed_, game_.getHighScore()));
    if (score > high_score_at_start_ && !game_.isPlayingBack()) lines.append("\n").append(tr("panel line", "New best!"));
    if (!daily_date_.empty()) lines.append("\n").append(tr("hud", "Daily run"));
    if (const std::string board = boardLine(); !board.empty()) lines.append("\n").append(board);
    return lines;
}

std::string SceneMain::boardLine() const {
    if (board_ticket_.empty()) return {};
    const BoardSender::Status& status = board_status_;
    switch (status.state) {
    case BoardSender::State::VERIFIED:
        return fill(tr("panel line", "Board: {rank} of {players} today"),
                    {{"rank", std::to_string(status.rank)}, {"players", std::to_string(status.of)}});
    case BoardSender::State::REJECTED:
        return fill(tr("panel line", "The board refused it: {reason}"), {{"reason", status.reason}});
    case BoardSender::State::OFFLINE:
    case BoardSender::State::WAITING:
        return tr("panel line", "The board cannot be reached: it will be sent later");
    default:
        return tr("panel line", "Sending to the board...");
    }
}

// The board's verdict on a daily run comes in while the game-over panel shows.
void SceneMain::refreshBoardLine() {
    if (board_ticket_.empty() || !is_over_ || replay_ended_ || !game_.getBoard()) return;
    BoardSender::Status status = game_.getBoard()->statusOf(board_ticket_);
    if (status == board_status_) return;
    board_status_ = std::move(status);
    panel_->show(tr("heading", "Game over"), scoreLines());
}

// Played to its end, a replay says so and waits: RESTART watches it again, BACK leaves.
void SceneMain::showReplayEnd() {
    if (replay_ended_) return;
    replay_ended_ = true;
    finishRecording();
    if (!is_over_) showEndButtons();
    panel_->show(tr("heading", "End of the replay"), scoreLines());
}

void SceneMain::showEndButtons() {
    is_over_ = true;
    pause();
    const glm::vec2 centre = game_.getScreenSize() / 2.0f;
    button_restart_->setActive(true);
    button_back_->setActive(true);
    button_restart_->setRenderPosition(centre - glm::vec2(200.0f, 0.0f));
    button_restart_->setScale(4.0f);
    button_back_->setRenderPosition(centre + glm::vec2(200.0f, 0.0f));
    button_back_->setScale(4.0f);
    button_pause_->setActive(false);
    button_options_->setActive(false);
    slow_label_->setActive(false);
    pad_menu_.setButtons({button_restart_, button_back_});
}

// Over the first game after a fresh install; the world waits behind it until any input closes it.
void SceneMain::showControlsCard() {
    const Settings& settings = game_.getPreferences()->getSettings();
    const glm::vec2 screen = game_.getScreenSize();
    controls_card_ = HUDText::addHUDTextChild(
        this,
        game_.isTouchLastUsed()
            ? touchControlsCard(settings.slow_toggles)
            : controlsCard(settings.bindings, settings.slow_toggles, game_.getPadNamesInUse()),
        {screen.x / 2.0f, screen.y - 170.0f}, {100.0f, 100.0f}, kFont, 16, "assets/UI/Textfield_01.png",
        Anchor::CENTER);
    controls_card_->setBgSizeByText(40.0f);
}

bool SceneMain::closeControlsCard(const SDL_Event& event) {
    if (!controls_card_) return false;
    const bool input = event.type == SDL_EVENT_KEY_DOWN || event.type == SDL_EVENT_MOUSE_BUTTON_DOWN ||
                       event.type == SDL_EVENT_GAMEPAD_BUTTON_DOWN || event.type == SDL_EVENT_FINGER_DOWN ||
                       padActionOf(event) != PadAction::NONE;
    if (!input) return false;
    controls_card_->setNeedRemove(true);
    controls_card_ = nullptr;
    game_.getPreferences()->setControlsSeen();
    return true;
}

// A player who leaves the window finds the game waiting: it stays paused until resumed.
bool SceneMain::handleAway(const SDL_Event& event) {
    const bool away = event.type == SDL_EVENT_WINDOW_FOCUS_LOST || event.type == SDL_EVENT_WINDOW_MINIMIZED ||
                      event.type == SDL_EVENT_WINDOW_HIDDEN;
    if (!away) return false;
    if (!is_pause_) pause();
    button_options_->setActive(!is_over_ && button_layout_ != ButtonLayout::NONE);
    return true;
}

void SceneMain::checkButtonRestart() {
    if (!button_restart_->isTrigger()) return;
    if (game_.isPlayingBack()) game_.restartPlayback(); // watched again from its start
    leaveFor(daily_date_.empty() ? new SceneMain : new SceneMain(daily_date_));
}

// Every way out of a game keeps the best score on disk and starts the next one from zero.
void SceneMain::leaveFor(Scene* next) {
    finishRecording();
    if (!game_.isPlayingBack()) game_.getRunKeeper().forget();
    saveData(highScoreFile(game_speed_));
    restoreOrdinaryHighScore();
    game_.setScore(0);
    game_.safeChangeScene(next);
}

// Saved on every frame while the player is dead, so the best score is on disk however the game ends.
void SceneMain::checkPlayerDead() {
    if (!player_ || player_->getIsActive()) return;
    end_timer_->start();
    saveData(highScoreFile(game_speed_));
}

void SceneMain::checkEndTimer() {
    if (!end_timer_->timeOut()) return;
    showEndButtons();
    game_.resumeMusic();
    end_timer_->stop();
    finishRecording();
    if (!game_.isPlayingBack()) game_.getRunKeeper().forget();
    panel_->show(tr("heading", "Game over"), scoreLines());
    if (game_.getBoardLink() && game_.getBoardLink()->hasUnasked()) askAboutBoard();
}

// The first daily run that ends with a board set asks whether it, and the daily runs after it, go there;
// one left by BACK is asked about on the title.
void SceneMain::askAboutBoard() {
    board_question_->open([this](bool) {
        board_ticket_ = game_.getBoardLink()->releaseUnasked();
        panel_->show(tr("heading", "Game over"), scoreLines());
    });
}

void SceneMain::finishRecording() {
    Recorder& recorder = game_.getRecorder();
    if (!recorder.isRecording()) return;
    const Replay& replay = recorder.finish(game_.getScore(), stateHash());
    if (game_.isPlayingBack()) return;
    const std::string bytes = encodeReplay(replay);
    const bool best = game_.getScore() > high_score_at_start_;
    // An assisted daily run is no day's best: the board would not rank it.
    const bool daily_best = !daily_date_.empty() && game_speed_ == Replay::FULL_SPEED &&
                            game_.getScore() > dailyBest(daily_date_).value_or(-1);
    const std::string best_file = bestReplayFile(game_speed_);
    // The day's new best goes to the board too, when the player sends there.
    const Settings& settings = game_.getPreferences()->getSettings();
    if (daily_best && game_.getBoard()) {
        board_ticket_ = game_.getBoard()->queue(daily_date_, bytes);
        if (board_ticket_.empty())
            SDL_Log("This daily run cannot be queued for the board: assets/ is not writable or the disk is full");
    } else if (daily_best && game_.getBoardLink() && !settings.board_asked && !settings.board_send) {
        game_.getBoardLink()->holdUnasked(daily_date_, bytes); // asked at game over, or on the title
    }
    if (!writeFileAtomically(kLastReplay, bytes) || (best && !writeFileAtomically(best_file, bytes)) ||
        (daily_best && !keepDailyGame(daily_date_, bytes))) {
        SDL_Log(
            "This game's replay cannot be saved in assets/: the folder is not writable or the disk is full");
        return;
    }
    SDL_Log("Replay of this game (seed %u, %u frames, %u bytes): %s%s%s", seed_, replay.frame_count,
            static_cast<unsigned>(bytes.size()), kLastReplay,
            best ? (", and as the best game: " + best_file).c_str() : "",
            daily_best ? ", and as the day's best daily run" : "");
}

std::string SceneMain::bestLine(int game_speed, int score) {
    const std::string best = std::to_string(score);
    if (game_speed == Replay::FULL_SPEED) return fill(tr("panel line", "Best: {score}"), {{"score", best}});
    // xgettext:no-c-format
    return fill(tr("panel line", "Best at {speed} % speed: {score}"),
                {{"speed", std::to_string(game_speed)}, {"score", best}});
}

std::string SceneMain::gameSpeedMark() const {
    return fill(tr("hud", "Game speed {speed} %"), {{"speed", std::to_string(game_speed_)}});
}

// An assisted game held the best of its speed; the title and the next game go on with the ordinary one.
void SceneMain::restoreOrdinaryHighScore() {
    if (!ordinary_high_score_) return;
    game_.setHighScore(*ordinary_high_score_);
    ordinary_high_score_.reset();
}

void SceneMain::renderBackground() {
    const glm::vec2 top_left = -camera_position_;
    const glm::vec2 bottom_right = world_size_ - camera_position_;
    game_.drawGrid(top_left, bottom_right, 80.0f, {0.5f, 0.5f, 0.5f, 1.0f});
    game_.drawBoundary(top_left, bottom_right, 5.0f, {1.0f, 1.0f, 1.0f, 1.0f});
}
