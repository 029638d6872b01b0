#include "scenes/SceneMain.h"

#include "actors/Player.h"
#include "actors/Spawner.h"
#include "components/BgStar.h"
#include "components/Timer.h"
#include "core/Game.h"
#include "scenes/SceneTitle.h"
#include "scenes/ScoreFile.h"
#include "shell/Gamepad.h"
#include "ui/HUDButton.h"
#include "ui/HUDStats.h"
#include "ui/HUDText.h"
#include "ui/UIMouse.h"

namespace {
constexpr const char* kScoreFile = "assets/score.dat";
constexpr const char* kFont = "assets/font/VonwaonBitmap-16px.ttf";
} // namespace

void SceneMain::init() {
    Scene::init();
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
    hud_stats_ = HUDStats::addHUDStatsChild(this, player_, {30.0f, 30.0f});
    hud_text_score_ = HUDText::addHUDTextChild(this, "Score: 0", {w - 120.0f, 30.0f}, {200.0f, 50.0f}, kFont,
                                               32, "assets/UI/Textfield_01.png", Anchor::CENTER);
    // Last, so that it is drawn above the whole interface.
    ui_mouse_ = UIMouse::addUIMouseChild(this, "assets/UI/29.png", "assets/UI/30.png", 1.0f, Anchor::CENTER);
    pad_menu_.setButtons({button_pause_, button_restart_, button_back_});
}

bool SceneMain::handleEvents(SDL_Event& event) {
    const bool pause_key =
        event.type == SDL_EVENT_KEY_DOWN && event.key.key == SDLK_ESCAPE && !event.key.repeat;
    // Esc and the pad's Start are the Pause button; the game-over screen has none.
    if (pause_key || padActionOf(event) == PadAction::PAUSE) {
        if (!isGameOver()) togglePause();
        return true;
    }
    if (handleAway(event)) return false;
    if (is_pause_ && pad_menu_.handleEvent(event)) return true;
    return Scene::handleEvents(event);
}

void SceneMain::update(float dt) {
    checkSlowDown(dt);
    Scene::update(dt);
    updateScore();
    checkButtonBack();
    checkButtonPause();
    checkButtonRestart();
    checkPlayerDead();
    checkEndTimer();
}

void SceneMain::render() {
    renderBackground();
    Scene::render();
}

// The high score is saved on the way out through the buttons and at death, not here.
void SceneMain::clean() {
    Scene::clean();
}

void SceneMain::saveData(const std::string& file_path) {
    if (writeScoreFile(file_path, game_.getHighScore())) return;
    // Saved on every frame after a death: say it once per run, not sixty times a second.
    static bool said = false;
    if (!said) SDL_Log("The high score cannot be saved to %s: the folder is not writable", file_path.c_str());
    said = true;
}

void SceneMain::checkSlowDown(float& dt) {
    const bool slow = (game_.getMouseButtons() & SDL_BUTTON_RMASK) || game_.getGamepad().isSlowHeld();
    if (slow) dt = static_cast<float>(static_cast<double>(dt) * 0.4);
}

void SceneMain::updateScore() {
    hud_text_score_->setText("Score: " + std::to_string(game_.getScore()));
}

void SceneMain::checkButtonBack() {
    if (button_back_->isTrigger()) leaveFor(new SceneTitle);
}

void SceneMain::checkButtonPause() {
    if (button_pause_->isTrigger()) togglePause();
}

void SceneMain::togglePause() {
    if (is_pause_) {
        resume();
        pad_menu_.clearHighlight(); // back to play: no button stays lit
    } else {
        pause();
    }
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
    return true;
}

void SceneMain::checkButtonRestart() {
    if (button_restart_->isTrigger()) leaveFor(new SceneMain);
}

// Every way out of a game keeps the best score on disk and starts the next one from zero.
void SceneMain::leaveFor(Scene* next) {
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
    pad_menu_.setButtons({button_restart_, button_back_});
    end_timer_->stop();
}

void SceneMain::renderBackground() {
    const glm::vec2 top_left = -camera_position_;
    const glm::vec2 bottom_right = world_size_ - camera_position_;
    game_.drawGrid(top_left, bottom_right, 80.0f, {0.5f, 0.5f, 0.5f, 1.0f});
    game_.drawBoundary(top_left, bottom_right, 5.0f, {1.0f, 1.0f, 1.0f, 1.0f});
}
