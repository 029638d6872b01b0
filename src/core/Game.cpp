#include "core/Game.h"

#include "assets/AssetStore.h"
#include "object/Scene.h"
#include "online/BoardLink.h"
#include "replay/RunKeeper.h"
#include "scenes/SceneTitle.h"
#include "shell/Platform.h"
#include "shell/Preferences.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>

namespace {

void logError(const char* message) {
    SDL_LogError(SDL_LOG_CATEGORY_APPLICATION, message, SDL_GetError());
}

bool hasDecoder(const char* name_part) {
    const int count = MIX_GetNumAudioDecoders();
    for (int i = 0; i < count; ++i) {
        const char* name = MIX_GetAudioDecoder(i);
        if (name && SDL_strstr(name, name_part)) return true;
    }
    return false;
}

} // namespace

FramePace paceFrame(Uint64 elapsed_ns, Uint64 frame_delay_ns) {
    if (elapsed_ns < frame_delay_ns) {
        return {frame_delay_ns - elapsed_ns, static_cast<float>(frame_delay_ns) / 1e9f};
    }
    // A slow frame is not shortened: the next update gets its real length, unclamped.
    return {0, static_cast<float>(elapsed_ns) / 1e9f};
}

Game& Game::getInstance() {
    static Game instance;
    return instance;
}

Game::Game() : random_(std::random_device{}()), cosmetic_random_(std::random_device{}()) {
}

Game::~Game() = default;

bool Game::initHeadless() {
    SDL_SetLogPriorities(SDL_LOG_PRIORITY_WARN);
    SDL_SetHint(SDL_HINT_VIDEO_DRIVER, "dummy");
    SDL_SetHint(SDL_HINT_AUDIO_DRIVER, "dummy");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, SDL_SOFTWARE_RENDERER);
    if (init("Moonvale", 1280, 720)) return true;
    clean();
    return false;
}

bool Game::init(const std::string& title, int width, int height) {
    screen_size_ = glm::vec2(width, height);
    // Fingers are the game's own (a thumb steering must not also click where it lands); menus get
    // their taps as clicks from handleFinger.
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    if (!SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO)) logError("SDL初始化失败: %s\n");
    // Apart from the rest: without pads the game still plays on mouse and keyboard.
    if (!SDL_InitSubSystem(SDL_INIT_GAMEPAD)) SDL_Log("No gamepad support: %s", SDL_GetError());
    // A phone or a tablet names its touch controls before the first finger.
    if (hasCoarsePointer()) {
        devices_.setTouchFirst();
        SDL_Log("A touch screen: the touch controls are named from the start");
    }
    initAudio();
    if (!TTF_Init()) logError("SDL_TTF初始化失败: %s\n");
    if (!graphics_.open(title, width, height)) return false;
    devices_.attach(getWindow(), getRenderer(), screen_size_);
    ttf_engine_ = TTF_CreateRendererTextEngine(getRenderer());
    frame_delay_ = 1'000'000'000 / FPS_;
    asset_store_ = std::make_unique<AssetStore>(getRenderer(), mixer_);
    graphics_.setAssetStore(asset_store_.get());
    // Kept beside the high score; read before the first scene so its music starts at the right volume.
    preferences_ = std::make_unique<Preferences>("assets/settings.ini");
    preferences_->load();
    run_keeper_ = std::make_unique<RunKeeper>("assets");
    current_scene_ = std::make_unique<SceneTitle>();
    current_scene_->init();
    return true;
}

void Game::initAudio() {
    if (!MIX_Init() || !hasDecoder("MP3") || !hasDecoder("VORBIS")) logError("SDL_Mixer初始化失败: %s\n");
    mixer_ = MIX_CreateMixerDevice(SDL_AUDIO_DEVICE_DEFAULT_PLAYBACK, nullptr);
    if (!mixer_) {
        logError("SDL_Mixer打开音频失败: %s\n");
        return; // the game plays on in silence
    }
    for (MIX_Track*& track : effect_tracks_) {
        track = MIX_CreateTrack(mixer_);
        MIX_SetTrackGain(track, VOLUME);
    }
    music_track_ = MIX_CreateTrack(mixer_);
    MIX_SetTrackGain(music_track_, VOLUME);
}

void Game::run() {
    while (is_running_) {
        const Uint64 sleep_ns = frame();
        if (sleep_ns > 0) SDL_DelayNS(sleep_ns);
    }
}

Uint64 Game::frame() {
    const Uint64 start = SDL_GetTicksNS();
    handleEvents();
    update(dt_);
    render();
    const Uint64 end = SDL_GetTicksNS();
    // After the end time: switching scenes is not counted in the frame.
    applyPendingScene();
    const FramePace pace = paceFrame(end - start, frame_delay_);
    dt_ = pace.dt;
    return pace.sleep_ns;
}

void Game::handleEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_EVENT_QUIT) {
            is_running_ = false;
            continue;
        }
        if (playback_) {
            // Watching, the player's input only leaves (for the title, when watched from there); once
            // the replay has ended, its screen's buttons take it.
            if (event.type == SDL_EVENT_KEY_DOWN && event.key.key == SDLK_ESCAPE) {
                if (watching_from_title_) {
                    safeChangeScene(new SceneTitle);
                } else {
                    is_running_ = false;
                }
            }
            if (playback_->current()) continue;
        }
        const PadAction action = devices_.getGamepad().handleEvent(event);
        devices_.noteEvent(event, action);
        if (preferences_ && preferences_->handleEvent(event)) continue;
        if (!current_scene_) continue;
        // The finger itself follows what it did (a first game's card closes on it).
        if (event.type >= SDL_EVENT_FINGER_DOWN && event.type <= SDL_EVENT_FINGER_CANCELED) {
            handleFinger(event.tfinger);
        }
        current_scene_->handleEvents(event);
        if (action == PadAction::NONE) continue;
        SDL_Event pad_event = makePadActionEvent(action);
        current_scene_->handleEvents(pad_event);
    }
    const FrameInput* played = playback_ ? playback_->current() : nullptr;
    if (played && current_scene_) {
        if (played->strike) devices_.placeCursor(played->aim);
        current_scene_->playFrame(*played);
    }
}

void Game::update(float dt) {
    graphics_.lockAspectRatio();
    // Keys on the cursor in play only: in menus the same keys move the highlight.
    const bool keys_aim = current_scene_ && current_scene_->takesKeyboardAim();
    devices_.update(dt, keys_aim ? &getBindings() : nullptr);
    if (preferences_) preferences_->update(dt);
    if (!playback_) {
        if (current_scene_) current_scene_->update(dt);
        return;
    }
    // A replay's frames keep their own lengths; played to its end, the scene stands still and says so.
    const FrameInput* played = playback_->current();
    if (!current_scene_) return;
    if (!played) {
        current_scene_->update(dt);
        return;
    }
    current_scene_->update(played->dt);
    playback_->advance();
}

void Game::playToEnd(std::uint32_t most) {
    if (!current_scene_) return;
    // The player's pointer, wherever it is, presses no button on the way.
    devices_.setMouseState(glm::vec2(-1000.0f), 0);
    is_quiet_ = true;
    // As the loop plays a replay (handleEvents, then update), without the rest of a frame.
    for (std::uint32_t i = 0; i < most; ++i) {
        const FrameInput* played = playback_ ? playback_->current() : nullptr;
        if (!played) break;
        current_scene_->playFrame(*played);
        current_scene_->update(played->dt);
        playback_->advance();
    }
    is_quiet_ = false;
}

void Game::keepRunNow() {
    if (current_scene_) current_scene_->keepRun();
}

const FrameInput& Game::takeFrameInput(float dt, bool paused) {
    if (playback_) {
        const FrameInput* played = playback_->current();
        frame_input_ = played ? *played : FrameInput{};
        return frame_input_;
    }
    const bool slow_toggles = preferences_ && preferences_->getSettings().slow_toggles;
    frame_input_ = live_input_.read(devices_, getBindings(), slow_toggles, dt, paused);
    return frame_input_;
}

void Game::render() {
    beginFrame();
    if (current_scene_) current_scene_->render();
    if (preferences_) preferences_->render();
    endFrame();
}

void Game::changeScene(Scene* scene) {
    if (current_scene_) {
        current_scene_->clean();
        current_scene_.reset();
    }
    current_scene_.reset(scene);
    if (current_scene_) current_scene_->init();
}

void Game::safeChangeScene(Scene* scene) {
    // A scene queued earlier in the same frame was never installed: it goes now instead of leaking.
    if (scene != next_scene_.get()) next_scene_.reset(scene);
}

void Game::applyPendingScene() {
    if (next_scene_) changeScene(next_scene_.release());
}

BoardSender* Game::getBoard() const {
    return board_ ? board_->sender() : nullptr;
}

void Game::setBoardLink(std::unique_ptr<BoardLink> board) {
    board_ = std::move(board);
}

void Game::clean() {
    if (current_scene_) {
        current_scene_->clean();
        current_scene_.reset();
    }
    next_scene_.reset();
    board_.reset(); // after the scene, whose end may queue a run; the queue keeps what was not sent
    run_keeper_.reset(); // after the scene too, which keeps its run as the game closes
    if (asset_store_) {
        asset_store_->clean();
        asset_store_.reset();
        graphics_.setAssetStore(nullptr);
    }
    preferences_.reset();
    devices_.close();
    if (ttf_engine_) TTF_DestroyRendererTextEngine(ttf_engine_);
    graphics_.clean();
    ttf_engine_ = nullptr;
    // The mixer destroys its tracks with it.
    if (mixer_) MIX_DestroyMixer(mixer_);
    mixer_ = nullptr;
    effect_tracks_.fill(nullptr);
    music_track_ = nullptr;
    MIX_Quit();
    TTF_Quit();
    SDL_Quit();
}

void Game::setScore(int score) {
    score_ = score;
    if (score_ > high_score_) high_score_ = score_;
}

TTF_Text* Game::createTTF_Text(const std::string& text, const std::string& font_path, int font_size) {
    TTF_Font* font = asset_store_->getFont(font_path, font_size);
    return TTF_CreateText(ttf_engine_, font, text.c_str(), 0);
}

void Game::playSound(const std::string& file_path) {
    if (is_quiet_) return;
    if (sound_listener_) sound_listener_(file_path);
    MIX_Audio* audio = asset_store_->getSound(file_path);
    if (!audio) return;
    // A paused track is still busy; when all sixteen are busy the sound is dropped.
    for (MIX_Track* track : effect_tracks_) {
        if (!track || MIX_TrackPlaying(track) || MIX_TrackPaused(track)) continue;
        MIX_SetTrackAudio(track, audio);
        MIX_PlayTrack(track, 0);
        return;
    }
}

void Game::playMusic(const std::string& file_path, bool loop) {
    MIX_Audio* audio = asset_store_->getMusic(file_path);
    if (!music_track_ || !audio) return;
    MIX_StopTrack(music_track_, 0);
    MIX_SetTrackAudio(music_track_, audio);
    const SDL_PropertiesID options = SDL_CreateProperties();
    SDL_SetNumberProperty(options, MIX_PROP_PLAY_LOOPS_NUMBER, loop ? -1 : 0);
    MIX_PlayTrack(music_track_, options);
    SDL_DestroyProperties(options);
}

void Game::pauseSound() {
    for (MIX_Track* track : effect_tracks_) {
        if (track && MIX_TrackPlaying(track)) MIX_PauseTrack(track);
    }
}

void Game::resumeSound() {
    for (MIX_Track* track : effect_tracks_) {
        if (track && MIX_TrackPaused(track)) MIX_ResumeTrack(track);
    }
}

void Game::pauseMusic() {
    if (music_track_) MIX_PauseTrack(music_track_);
}

void Game::resumeMusic() {
    if (music_track_) MIX_ResumeTrack(music_track_);
}

float Game::randomFloat(float min, float max) {
    return random_.uniform(min, max);
}

void Game::seed(std::uint32_t value) {
    fixed_seed_ = value;
    random_.seed(value);
    cosmetic_random_.seed(value);
}

std::uint32_t Game::seedNewGame(std::optional<std::uint32_t> wanted) {
    const std::uint32_t value = playback_     ? playback_->getReplay().seed
                                : wanted      ? *wanted
                                : fixed_seed_ ? *fixed_seed_
                                              : std::random_device{}();
    random_.seed(value);
    SDL_Log("Game seed: %u", value);
    return value;
}

int Game::gameSpeedOfNewGame() const {
    if (playback_) return playback_->getReplay().game_speed;
    return preferences_ ? preferences_->getSettings().game_speed : Replay::FULL_SPEED;
}

float Game::pictureScale() const {
    int width = 0;
    int height = 0;
    if (!getWindow() || !SDL_GetWindowSize(getWindow(), &width, &height)) return 1.0f;
    const glm::vec2 screen = getScreenSize();
    return std::min(static_cast<float>(width) / screen.x, static_cast<float>(height) / screen.y);
}

bool Game::isTextLarge() const {
    constexpr float kSmallest = 0.75f; // window units per game pixel
    if (preferences_ && preferences_->getSettings().large_text) return *preferences_->getSettings().large_text;
    return pictureScale() < kSmallest;
}

bool Game::reducesFlashes() const {
    return preferences_ && preferences_->reducesFlashes();
}

glm::vec2 Game::randomVec2(glm::vec2 min, glm::vec2 max) {
    return random_.uniform(min, max);
}

const Bindings& Game::getBindings() const {
    static const Bindings defaults;
    return preferences_ ? preferences_->getBindings() : defaults;
}

void Game::handleFinger(const SDL_TouchFingerEvent& finger) {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(getWindow(), &width, &height);
    glm::vec2 point(0.0f);
    SDL_RenderCoordinatesFromWindow(getRenderer(), finger.x * static_cast<float>(width),
                                    finger.y * static_cast<float>(height), &point.x, &point.y);
    const TouchAction action =
        devices_.getTouch().handleFinger(finger.type, finger.fingerID, point, current_scene_->touchMode());
    switch (action.kind) {
    case TouchAction::PRESS:
    case TouchAction::RELEASE:
        sendTouchClick(action.kind == TouchAction::PRESS, action.point);
        break;
    case TouchAction::STRIKE: {
        // A strike goes where the cursor is, as the pad's does: the cursor goes to the finger first.
        devices_.placeCursor(action.point);
        SDL_Event strike = makePadActionEvent(PadAction::PRIMARY);
        current_scene_->handleEvents(strike);
        break;
    }
    case TouchAction::PAUSE: {
        SDL_Event pause = makePadActionEvent(PadAction::PAUSE);
        current_scene_->handleEvents(pause);
        break;
    }
    case TouchAction::NONE:
        break;
    }
}

void Game::sendTouchClick(bool down, glm::vec2 point) {
    devices_.placeCursor(point);
    float x = 0.0f;
    float y = 0.0f;
    SDL_RenderCoordinatesToWindow(getRenderer(), point.x, point.y, &x, &y);
    SDL_Event click{};
    click.type = down ? SDL_EVENT_MOUSE_BUTTON_DOWN : SDL_EVENT_MOUSE_BUTTON_UP;
    click.button.windowID = SDL_GetWindowID(getWindow());
    click.button.which = SDL_TOUCH_MOUSEID;
    click.button.button = SDL_BUTTON_LEFT;
    click.button.down = down;
    click.button.clicks = 1;
    click.button.x = x;
    click.button.y = y;
    current_scene_->handleEvents(click);
}

std::string Game::loadTextFile(const std::string& file_path) const {
    std::ifstream file(file_path);
    std::string result;
    std::string line;
    while (std::getline(file, line)) {
        // A file saved with CRLF ends must not show carriage returns on screen.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        result += line;
        result += '\n';
    }
    return result;
}
