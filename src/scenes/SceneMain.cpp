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
#include "shell/Preferences.h"
#include "ui/ControlsHelp.h"
#include "ui/HUDButton.h"
#include "ui/HUDStats.h"
#include "ui/HUDText.h"
#include "ui/HUDTouch.h"
#include "ui/OptionsMenu.h"
#include "ui/UIMouse.h"

#include <algorithm>

namespace {
constexpr const char* kScoreFile = "assets/score.dat";
constexpr const char* kLastReplay = "assets/last.mvr";
constexpr const char* kBestReplay = "assets/best.mvr";
constexpr const char* kFont = "assets/font/VonwaonBitmap-16px.ttf";
} // namespace

void SceneMain::init() {
    Scene::init();
    seed_ = game_.seedNewGame(daily_date_.empty() ? std::nullopt : std::optional(dailySeed(daily_date_)));
    if (!daily_date_.empty()) SDL_Log("The daily run of %s", daily_date_.c_str());
    high_score_at_start_ = game_.getHighScore();
    game_.getRecorder().begin(seed_, game_.getPreferences()->getSettings().slow_toggles);
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
    if (!game_.getPreferences()->getSettings().controls_seen) showControlsCard();
    HUDTouch::addHUDTouchChild(this);
    options_ = OptionsMenu::addOptionsMenuChild(this);
    // Last, so that it is drawn above the whole interface.
    ui_mouse_ = UIMouse::addUIMouseChild(this, "assets/UI/29.png", "assets/UI/30.png", 1.0f, Anchor::CENTER);
    pad_menu_.setButtons({button_pause_, button_restart_, button_back_, button_options_});
}

bool SceneMain::handleEvents(SDL_Event& event) {
    if (options_->getIsActive()) return options_->handleEvents(event);
    closeControlsCard(event);
    const bool pause_key =
        event.type == SDL_EVENT_KEY_DOWN && game_.getBindings().isPressed(Action::PAUSE, event);
    // The pause key and the pad's Start are the Pause button; the game-over screen has none.
    if (pause_key || padActionOf(event) == PadAction::PAUSE) {
        if (!isGameOver()) togglePause();
        return true;
    }
    if (handleAway(event)) return false;
    if (is_pause_ && pad_menu_.handleEvent(event)) return true;
    return Scene::handleEvents(event);
}

TouchMode SceneMain::touchMode() const {
    if (options_->getIsActive() || isGameOver()) return TouchMode::MENU;
    return is_pause_ ? TouchMode::PAUSED : TouchMode::PLAY;
}

void SceneMain::update(float dt) {
    if (options_->getIsActive()) {
        ui_mouse_->update(dt); // the game stands paused under the options; only the cursor moves
        return;
    }
    if (const ReplayFrame* played = game_.getPlaybackFrame(); played && played->paused != is_pause_) {
        if (played->paused) {
            pause();
        } else {
            resume();
        }
    }
    const float frame_dt = dt;
    checkSlowDown(dt);
    recordFrame(frame_dt);
    const float world_dt = is_pause_ ? 0.0f : dt;
    Scene::update(dt);
    updateScore();
    checkButtonBack();
    checkButtonPause();
    checkButtonOptions();
    checkButtonRestart();
    checkPlayerDead();
    game_.getRecorder().afterUpdate(world_dt, [this] { return stateHash(); });
    checkEndTimer();
}

// A replayed strike reaches the weapon as the player's did, before the frame's pause takes hold.
void SceneMain::playFrame(const ReplayFrame& frame) {
    if (!frame.strike) return;
    const bool paused = is_pause_;
    is_pause_ = false;
    SDL_Event strike = makePadActionEvent(PadAction::PRIMARY);
    Scene::handleEvents(strike);
    is_pause_ = paused;
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
    if (player_) finishRecording();
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

void SceneMain::checkSlowDown(float& dt) {
    const bool held =
        game_.isHeld(Action::SLOW) || game_.getGamepad().isSlowHeld() || game_.getTouch().isSlowHeld();
    if (const ReplayFrame* played = game_.getPlaybackFrame()) {
        slow_on_ = played->slow;
    } else if (!game_.getPreferences()->getSettings().slow_toggles) {
        slow_on_ = held;
    } else if (held && !slow_was_held_) {
        slow_on_ = !slow_on_;
    }
    slow_was_held_ = held;
    if (slow_on_) dt = static_cast<float>(static_cast<double>(dt) * 0.4);
}

void SceneMain::updateScore() {
    hud_text_score_->setText(
        fill(tr("score", "Score: {score}"), {{"score", std::to_string(game_.getScore())}}));
    // Wider for longer words than the English, never narrower.
    const float text = hud_text_score_->getTextLabel()->getSize().x;
    hud_text_score_->setSize({std::max(200.0f, text + 16.0f), 50.0f});
}

void SceneMain::checkButtonBack() {
    if (button_back_->isTrigger()) leaveFor(new SceneTitle);
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

// Over the first game after a fresh install; the game does not wait for it (the waves keep their
// times), and the input that closes it does what it always does.
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

void SceneMain::closeControlsCard(const SDL_Event& event) {
    if (!controls_card_) return;
    const bool input = event.type == SDL_EVENT_KEY_DOWN || event.type == SDL_EVENT_MOUSE_BUTTON_DOWN ||
                       event.type == SDL_EVENT_GAMEPAD_BUTTON_DOWN || event.type == SDL_EVENT_FINGER_DOWN ||
                       padActionOf(event) != PadAction::NONE;
    if (!input) return;
    controls_card_->setNeedRemove(true);
    controls_card_ = nullptr;
    game_.getPreferences()->setControlsSeen();
}

bool SceneMain::isGameOver() const {
    return !button_pause_->getIsActive();
}

// A player who leaves the window finds the game waiting: it stays paused until resumed.
bool SceneMain::handleAway(const SDL_Event& event) {
    const bool away = event.type == SDL_EVENT_WINDOW_FOCUS_LOST || event.type == SDL_EVENT_WINDOW_MINIMIZED ||
                      event.type == SDL_EVENT_WINDOW_HIDDEN;
    if (!away) return false;
    if (!is_pause_) pause();
    button_options_->setActive(!isGameOver());
    return true;
}

void SceneMain::checkButtonRestart() {
    if (button_restart_->isTrigger())
        leaveFor(daily_date_.empty() ? new SceneMain : new SceneMain(daily_date_));
}

// Every way out of a game keeps the best score on disk and starts the next one from zero.
void SceneMain::leaveFor(Scene* next) {
    finishRecording();
    saveData(kScoreFile);
    game_.setScore(0);
    game_.safeChangeScene(next);
}

// Saved on every frame while the player is dead, so the best score is on disk however the game ends.
void SceneMain::checkPlayerDead() {
    if (!player_ || player_->getIsActive()) return;
    end_timer_->start();
    saveData(kScoreFile);
}

void SceneMain::checkEndTimer() {
    if (!end_timer_->timeOut()) return;
    pause();
    game_.resumeMusic();
    const glm::vec2 centre = game_.getScreenSize() / 2.0f;
    button_restart_->setRenderPosition(centre - glm::vec2(200.0f, 0.0f));
    button_restart_->setScale(4.0f);
    button_back_->setRenderPosition(centre + glm::vec2(200.0f, 0.0f));
    button_back_->setScale(4.0f);
    button_pause_->setActive(false);
    button_options_->setActive(false);
    pad_menu_.setButtons({button_restart_, button_back_});
    end_timer_->stop();
    finishRecording();
}

void SceneMain::recordFrame(float dt) {
    ReplayFrame frame;
    frame.dt = dt;
    frame.up = game_.isHeld(Action::UP);
    frame.down = game_.isHeld(Action::DOWN);
    frame.left = game_.isHeld(Action::LEFT);
    frame.right = game_.isHeld(Action::RIGHT);
    frame.tilt = game_.getMoveTilt();
    frame.slow = slow_on_;
    frame.paused = is_pause_;
    game_.getRecorder().frame(frame);
}

void SceneMain::finishRecording() {
    Recorder& recorder = game_.getRecorder();
    if (!recorder.isRecording()) return;
    const Replay& replay = recorder.finish(game_.getScore(), stateHash());
    if (game_.isPlayingBack()) return;
    const std::string bytes = encodeReplay(replay);
    const bool best = game_.getScore() > high_score_at_start_;
    const bool daily_best = !daily_date_.empty() && game_.getScore() > dailyBest(daily_date_).value_or(-1);
    if (!writeFileAtomically(kLastReplay, bytes) || (best && !writeFileAtomically(kBestReplay, bytes)) ||
        (daily_best && !keepDailyGame(daily_date_, bytes))) {
        SDL_Log(
            "This game's replay cannot be saved in assets/: the folder is not writable or the disk is full");
        return;
    }
    SDL_Log("Replay of this game (seed %u, %u frames, %u bytes): %s%s%s", seed_, replay.frame_count,
            static_cast<unsigned>(bytes.size()), kLastReplay,
            best ? ", and as the best game: assets/best.mvr" : "",
            daily_best ? ", and as the day's best daily run" : "");
}

void SceneMain::renderBackground() {
    const glm::vec2 top_left = -camera_position_;
    const glm::vec2 bottom_right = world_size_ - camera_position_;
    game_.drawGrid(top_left, bottom_right, 80.0f, {0.5f, 0.5f, 0.5f, 1.0f});
    game_.drawBoundary(top_left, bottom_right, 5.0f, {1.0f, 1.0f, 1.0f, 1.0f});
}
