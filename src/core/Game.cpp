#include "core/Game.h"

#include "assets/AssetStore.h"
#include "components/Texture.h"
#include "object/Scene.h"
#include "scenes/SceneTitle.h"
#include "shell/Platform.h"
#include "shell/Preferences.h"
#include "shell/RendererChoice.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
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

void resetDrawColor(SDL_Renderer* renderer) {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
}

// The pixels a one-pixel SDL line between two points on the same row or column covers on the
// software renderer (a square at each end and the band between, each corner truncated), as one
// rectangle. Filled rectangles cost a fraction of the triangles SDL makes of lines.
SDL_FRect lineBox(float x1, float y1, float x2, float y2) {
    const float left = std::trunc(std::min(x1, x2));
    const float top = std::trunc(std::min(y1, y2));
    return {left, top, std::trunc(std::max(x1, x2) + 1.0f) - left, std::trunc(std::max(y1, y2) + 1.0f) - top};
}

// The four sides of what SDL_RenderRect draws for rect.
void appendOutline(const SDL_FRect& rect, std::vector<SDL_FRect>& out) {
    const float right = rect.x + rect.w - 1.0f;
    const float bottom = rect.y + rect.h - 1.0f;
    out.push_back(lineBox(rect.x, rect.y, right, rect.y));
    out.push_back(lineBox(right, rect.y, right, bottom));
    out.push_back(lineBox(rect.x, bottom, right, bottom));
    out.push_back(lineBox(rect.x, rect.y, rect.x, bottom));
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
        last_input_ = InputDevice::TOUCH;
        SDL_Log("A touch screen: the touch controls are named from the start");
    }
    initAudio();
    if (!TTF_Init()) logError("SDL_TTF初始化失败: %s\n");
    const bool chosen_by_user = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
    const char* software_reason = reasonToDrawInSoftware();
    // Asking OpenGL what it runs on needs its window; hidden, as it may have to be made again without it.
    const bool probe = !chosen_by_user && !software_reason;
    const bool created =
        !chosen_by_user && software_reason
            ? createSoftwareWindow(title, width, height, software_reason)
            : SDL_CreateWindowAndRenderer(title.c_str(), width, height,
                                          SDL_WINDOW_RESIZABLE | (probe ? SDL_WINDOW_HIDDEN : 0), &window_,
                                          &renderer_) &&
                  chooseRenderer(title, width, height, chosen_by_user);
    if (!created || !window_ || !renderer_) {
        logError("创建窗口或渲染器失败: %s\n");
        // Nothing could ever be seen: running the loop would only hang with no window.
        return false;
    }
    if (probe) SDL_ShowWindow(window_);
#ifndef __EMSCRIPTEN__
    // Half size: below it the words of the 16 px font cannot be read. (A page shapes a browser's canvas.)
    SDL_SetWindowMinimumSize(window_, width / 2, height / 2);
#endif
    SDL_SetRenderLogicalPresentation(renderer_, width, height, SDL_LOGICAL_PRESENTATION_LETTERBOX);
    // The art is pixel art drawn at 2x to 4x: keep its pixels square and sharp instead of blurred.
    SDL_SetDefaultTextureScaleMode(renderer_, SDL_SCALEMODE_PIXELART);
    is_software_renderer_ = SDL_strcmp(SDL_GetRendererName(renderer_), SDL_SOFTWARE_RENDERER) == 0;
    ttf_engine_ = TTF_CreateRendererTextEngine(renderer_);
    frame_delay_ = 1'000'000'000 / FPS_;
    asset_store_ = std::make_unique<AssetStore>(renderer_, mixer_);
    // Kept beside the high score; read before the first scene so its music starts at the right volume.
    preferences_ = std::make_unique<Preferences>("assets/settings.ini");
    preferences_->load();
    current_scene_ = std::make_unique<SceneTitle>();
    current_scene_->init();
    return true;
}

bool Game::chooseRenderer(const std::string& title, int width, int height, bool chosen_by_user) {
    const std::string picked = SDL_GetRendererName(renderer_);
    const std::string gl_renderer = glRendererOf(renderer_);
    if (!preferSoftwareRenderer(picked, gl_renderer, chosen_by_user)) {
        SDL_Log("Renderer: %s%s%s", picked.c_str(), gl_renderer.empty() ? "" : " on ", gl_renderer.c_str());
        return true;
    }
    SDL_DestroyRenderer(renderer_);
    SDL_DestroyWindow(window_);
    renderer_ = nullptr;
    window_ = nullptr;
    return createSoftwareWindow(title, width, height,
                                "OpenGL here is " + gl_renderer + ", a software rasteriser");
}

// A window without OpenGL and SDL's software renderer, whose picture SDL hands straight to the window
// system: by default it would present it through OpenGL, which here is software too.
bool Game::createSoftwareWindow(const std::string& title, int width, int height, const std::string& why) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    window_ = SDL_CreateWindow(title.c_str(), width, height, SDL_WINDOW_RESIZABLE);
    if (window_) renderer_ = SDL_CreateRenderer(window_, SDL_SOFTWARE_RENDERER);
    if (!renderer_) return false;
    SDL_Log("Renderer: software, not OpenGL: %s, and SDL's own software renderer draws this game faster",
            why.c_str());
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
            // Watching, the player's input only leaves; once the replay has ended, its screen's
            // buttons take it.
            if (event.type == SDL_EVENT_KEY_DOWN && event.key.key == SDLK_ESCAPE) is_running_ = false;
            if (getPlaybackFrame()) continue;
        }
        followPointer(event);
        const PadAction action = gamepad_.handleEvent(event);
        noteInputDevice(event, action);
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
    const ReplayFrame* played = getPlaybackFrame();
    if (played && current_scene_) {
        if (played->strike) {
            mouse_position_ = played->aim;
            is_cursor_placed_ = true;
        }
        current_scene_->playFrame(*played);
    }
}

void Game::update(float dt) {
    updateMouse();
    updateTouchLayout();
    aimWithPad(dt);
    if (preferences_) preferences_->update(dt);
    if (!playback_) {
        if (current_scene_) current_scene_->update(dt);
        return;
    }
    // A replay's frames keep their own lengths; played to its end, the scene stands still and says so.
    const ReplayFrame* played = getPlaybackFrame();
    if (!current_scene_) return;
    if (!played) {
        current_scene_->update(dt);
        return;
    }
    current_scene_->update(played->dt);
    if (++playback_frame_ < playback_->runs[playback_run_].count) return;
    ++playback_run_;
    playback_frame_ = 0;
}

void Game::playBack(Replay replay) {
    playback_ = std::move(replay);
    playback_run_ = 0;
    playback_frame_ = 0;
}

void Game::restartPlayback() {
    playback_run_ = 0;
    playback_frame_ = 0;
}

const ReplayFrame* Game::getPlaybackFrame() const {
    if (!playback_ || playback_run_ >= playback_->runs.size()) return nullptr;
    return &playback_->runs[playback_run_].frame;
}

void Game::render() {
    beginFrame();
    if (current_scene_) current_scene_->render();
    if (preferences_) preferences_->render();
    endFrame();
}

// At any scale but 1 the frame is drawn 1:1 into a texture and only that is scaled to the window. Drawn
// straight, thin lines, points and one-pixel letter strokes fall between the output's pixels below scale
// 1 (the software renderer drops them outright), and SDL 3.4's software renderer loses the pixels of a
// run-length-encoded picture (and leaks them) when one is drawn scaled and clipped by the black bars.
// Shrunk, the frame is filtered so that every line and letter still leaves its mark; below half size it
// is halved first, since one bilinear step would skip whole rows.
void Game::beginFrame() {
    SDL_Texture* frame = frameTarget();
    if (frame) SDL_SetRenderTarget(renderer_, frame);
    resetDrawColor(renderer_);
    SDL_RenderClear(renderer_);
}

void Game::endFrame() {
    if (SDL_Texture* frame = SDL_GetRenderTarget(renderer_)) {
        if (frame_scale_ < 0.5f && half_target_) {
            SDL_SetRenderTarget(renderer_, half_target_);
            SDL_RenderTexture(renderer_, frame, nullptr, nullptr);
            frame = half_target_;
        }
        SDL_SetRenderTarget(renderer_, nullptr);
        resetDrawColor(renderer_);
        SDL_RenderClear(renderer_);
        SDL_RenderTexture(renderer_, frame, nullptr, nullptr);
    }
    SDL_RenderPresent(renderer_);
}

SDL_Texture* Game::frameTarget() {
    if (no_frame_target_) return nullptr;
    int w = 0;
    int h = 0;
    if (!SDL_GetCurrentRenderOutputSize(renderer_, &w, &h)) return nullptr;
    frame_scale_ = std::min(static_cast<float>(w) / screen_size_.x, static_cast<float>(h) / screen_size_.y);
    if (frame_scale_ == 1.0f) return nullptr;
    const auto make = [this](int width, int height) {
        SDL_Texture* texture =
            SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
        if (texture) SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
        return texture;
    };
    const int frame_w = static_cast<int>(screen_size_.x);
    const int frame_h = static_cast<int>(screen_size_.y);
    if (!frame_target_) frame_target_ = make(frame_w, frame_h);
    if (frame_target_ && frame_scale_ < 0.5f && !half_target_) {
        half_target_ = make(frame_w / 2, frame_h / 2);
        if (half_target_) SDL_SetTextureScaleMode(half_target_, SDL_SCALEMODE_LINEAR);
    }
    if (!frame_target_) {
        SDL_Log("Cannot make the frame's texture, drawing straight to the window: %s", SDL_GetError());
        no_frame_target_ = true; // asked once, not every frame
        return nullptr;
    }
    SDL_SetTextureScaleMode(frame_target_,
                            frame_scale_ < 1.0f ? SDL_SCALEMODE_LINEAR : SDL_SCALEMODE_PIXELART);
    return frame_target_;
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

void Game::clean() {
    if (current_scene_) {
        current_scene_->clean();
        current_scene_.reset();
    }
    next_scene_.reset();
    if (asset_store_) {
        asset_store_->clean();
        asset_store_.reset();
    }
    preferences_.reset();
    gamepad_.close();
    if (ttf_engine_) TTF_DestroyRendererTextEngine(ttf_engine_);
    for (SDL_Texture** target : {&frame_target_, &half_target_}) {
        if (*target) SDL_DestroyTexture(*target);
        *target = nullptr;
    }
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    ttf_engine_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
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

void Game::renderTexture(const Texture& texture, glm::vec2 position, glm::vec2 size, glm::vec2 mask) {
    const SDL_FRect& r = texture.src_rect;
    SDL_FRect src = {r.x, r.y + r.h * (1.0f - mask.y), r.w * mask.x, r.h * mask.y};
    const SDL_FRect dst = {position.x, position.y + size.y * (1.0f - mask.y), size.x * mask.x,
                           size.y * mask.y};
    SDL_Texture* image = texture.texture;
    // Pixel art drawn at a whole multiple of its size: draw a copy enlarged once instead, 1:1, which
    // looks the same and costs less on every renderer. The software renderer gets the frame alone (its
    // run-length blit walks every run left of the part drawn); GPU renderers keep one texture per sheet,
    // because switching textures breaks their batches.
    const float factor = src.w > 0.0f ? dst.w / src.w : 0.0f;
    SDL_Rect region = {static_cast<int>(r.x), static_cast<int>(r.y), static_cast<int>(r.w),
                       static_cast<int>(r.h)};
    const bool whole_pixels = static_cast<float>(region.x) == r.x && static_cast<float>(region.y) == r.y &&
                              static_cast<float>(region.w) == r.w && static_cast<float>(region.h) == r.h;
    float sheet_w = 0.0f;
    float sheet_h = 0.0f;
    if (!is_software_renderer_ && image && SDL_GetTextureSize(image, &sheet_w, &sheet_h)) {
        region = {0, 0, static_cast<int>(sheet_w), static_cast<int>(sheet_h)};
    }
    if (image && factor >= 2.0f && factor <= 8.0f && factor == std::floor(factor) &&
        dst.h == src.h * factor && whole_pixels && asset_store_) {
        if (SDL_Texture* large = asset_store_->getScaledRegion(image, region, static_cast<int>(factor))) {
            float cr = 1.0f, cg = 1.0f, cb = 1.0f;
            SDL_GetTextureColorModFloat(image, &cr, &cg, &cb);
            SDL_SetTextureColorModFloat(large, cr, cg, cb);
            src = {(src.x - static_cast<float>(region.x)) * factor,
                   (src.y - static_cast<float>(region.y)) * factor, dst.w, dst.h};
            image = large;
        }
    }
    SDL_RenderTextureRotated(renderer_, image, &src, &dst, static_cast<double>(texture.angle), nullptr,
                             texture.is_flip ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE);
}

void Game::renderHBar(glm::vec2 position, glm::vec2 size, float percent, SDL_FColor color) {
    SDL_SetRenderDrawColorFloat(renderer_, color.r, color.g, color.b, color.a);
    const SDL_FRect box = {position.x, position.y, size.x, size.y};
    const SDL_FRect fill = {position.x, position.y, size.x * percent, size.y};
    // Outline and fill are one colour: where the fill covers the outline's box (a full bar, as most
    // are), the fill alone is the same picture.
    const SDL_FRect outer = lineBox(box.x, box.y, box.x + box.w - 1.0f, box.y + box.h - 1.0f);
    const bool fill_covers = std::trunc(fill.x) <= outer.x && std::trunc(fill.y) <= outer.y &&
                             std::trunc(fill.x) + std::trunc(fill.w) >= outer.x + outer.w &&
                             std::trunc(fill.y) + std::trunc(fill.h) >= outer.y + outer.h;
    rects_.clear();
    if (!fill_covers) appendOutline(box, rects_);
    rects_.push_back(fill);
    SDL_RenderFillRects(renderer_, rects_.data(), static_cast<int>(rects_.size()));
    resetDrawColor(renderer_);
}

void Game::drawGrid(glm::vec2 top_left, glm::vec2 bottom_right, float grid_width, SDL_FColor color) {
    SDL_SetRenderDrawColorFloat(renderer_, color.r, color.g, color.b, color.a);
    rects_.clear();
    // The lines fall where repeated adding puts them, so the counter stays a float.
    // NOLINTNEXTLINE(clang-analyzer-security.FloatLoopCounter)
    for (float x = top_left.x; x <= bottom_right.x; x += grid_width) {
        rects_.push_back(lineBox(x, top_left.y, x, bottom_right.y));
    }
    // NOLINTNEXTLINE(clang-analyzer-security.FloatLoopCounter): as above
    for (float y = top_left.y; y <= bottom_right.y; y += grid_width) {
        rects_.push_back(lineBox(top_left.x, y, bottom_right.x, y));
    }
    SDL_RenderFillRects(renderer_, rects_.data(), static_cast<int>(rects_.size()));
    resetDrawColor(renderer_);
}

void Game::drawBoundary(glm::vec2 top_left, glm::vec2 bottom_right, float boundary_width, SDL_FColor color) {
    SDL_SetRenderDrawColorFloat(renderer_, color.r, color.g, color.b, color.a);
    rects_.clear();
    // NOLINTNEXTLINE(clang-analyzer-security.FloatLoopCounter): the width is a float; steps are whole
    for (float i = 0.0f; i < boundary_width; i += 1.0f) {
        const SDL_FRect rect = {top_left.x - i, top_left.y - i, bottom_right.x - top_left.x + 2.0f * i,
                                bottom_right.y - top_left.y + 2.0f * i};
        appendOutline(rect, rects_);
    }
    SDL_RenderFillRects(renderer_, rects_.data(), static_cast<int>(rects_.size()));
    resetDrawColor(renderer_);
}

void Game::drawPoints(const std::vector<glm::vec2>& points, glm::vec2 offset, SDL_FColor color) {
    SDL_SetRenderDrawColorFloat(renderer_, color.r, color.g, color.b, color.a);
    // One batched call draws the same pixels as one call per point, for a fraction of the cost.
    points_.resize(points.size());
    for (size_t i = 0; i < points.size(); ++i)
        points_[i] = {points[i].x + offset.x, points[i].y + offset.y};
    SDL_RenderPoints(renderer_, points_.data(), static_cast<int>(points_.size()));
    resetDrawColor(renderer_);
}

TTF_Text* Game::createTTF_Text(const std::string& text, const std::string& font_path, int font_size) {
    TTF_Font* font = asset_store_->getFont(font_path, font_size);
    return TTF_CreateText(ttf_engine_, font, text.c_str(), 0);
}

void Game::playSound(const std::string& file_path) {
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
    const std::uint32_t value = playback_     ? playback_->seed
                                : wanted      ? *wanted
                                : fixed_seed_ ? *fixed_seed_
                                              : std::random_device{}();
    random_.seed(value);
    SDL_Log("Game seed: %u", value);
    return value;
}

glm::vec2 Game::randomVec2(glm::vec2 min, glm::vec2 max) {
    return random_.uniform(min, max);
}

void Game::updateMouse() {
    float x = 0.0f;
    float y = 0.0f;
    mouse_buttons_ = SDL_GetMouseState(&x, &y);
    lockAspectRatio();
    const glm::vec2 window_position(x, y);
    if (is_cursor_placed_ && window_position == mouse_window_position_) return;
    is_cursor_placed_ = false;
    mouse_window_position_ = window_position;
    // SDL's own mapping follows the letterboxed presentation at any window shape, which a plain
    // screen/window scale only does while the window keeps the canvas's aspect ratio.
    if (SDL_RenderCoordinatesFromWindow(renderer_, x, y, &x, &y)) mouse_position_ = {x, y};
}

// The pointer where the event happened, before the scene sees it: a press that comes with the move
// onto a button in one frame (a pen, a remote desktop, a fast tap) lands on that button.
void Game::followPointer(const SDL_Event& event) {
    glm::vec2 window(0.0f);
    if (event.type == SDL_EVENT_MOUSE_MOTION && event.motion.which != SDL_TOUCH_MOUSEID) {
        window = {event.motion.x, event.motion.y};
    } else if ((event.type == SDL_EVENT_MOUSE_BUTTON_DOWN || event.type == SDL_EVENT_MOUSE_BUTTON_UP) &&
               event.button.which != SDL_TOUCH_MOUSEID) {
        window = {event.button.x, event.button.y};
    } else {
        return;
    }
    // As in updateMouse: a cursor the pad placed stays until the mouse really moves.
    if (is_cursor_placed_ && window == mouse_window_position_) return;
    is_cursor_placed_ = false;
    mouse_window_position_ = window;
    SDL_RenderCoordinatesFromWindow(renderer_, window.x, window.y, &mouse_position_.x, &mouse_position_.y);
}

void Game::aimWithPad(float dt) {
    glm::vec2 aim = gamepad_.getAim();
    // Keys on the cursor in play only: in menus the same keys move the highlight.
    if (current_scene_ && current_scene_->takesKeyboardAim()) {
        const Bindings& b = getBindings();
        const bool* keys = getKeyboardState();
        const auto axis = [&](Action minus, Action plus) {
            return (b.isHeld(plus, keys, 0) ? 1.0f : 0.0f) - (b.isHeld(minus, keys, 0) ? 1.0f : 0.0f);
        };
        const glm::vec2 keyed(axis(Action::CURSOR_LEFT, Action::CURSOR_RIGHT),
                              axis(Action::CURSOR_UP, Action::CURSOR_DOWN));
        if (keyed != glm::vec2(0.0f)) aim = glm::clamp(aim + keyed, glm::vec2(-1.0f), glm::vec2(1.0f));
    }
    if (aim == glm::vec2(0.0f)) return;
    is_cursor_placed_ = true;
    mouse_position_ =
        glm::clamp(mouse_position_ + aim * PAD_CURSOR_SPEED * dt, glm::vec2(0.0f), screen_size_);
}

// SDL re-applies the window size whenever the ratio is set, a window-system round trip: set it only
// when it is not already in force, not on every frame.
void Game::lockAspectRatio() {
#ifdef __EMSCRIPTEN__
    // The page shapes a browser's canvas; SDL would force the drawing buffer to 16:9 inside it instead,
    // which the page then stretches.
    return;
#endif
    const float ratio = screen_size_.x / screen_size_.y;
    float min_aspect = 0.0f;
    float max_aspect = 0.0f;
    SDL_GetWindowAspectRatio(window_, &min_aspect, &max_aspect);
    if (min_aspect != ratio || max_aspect != ratio) SDL_SetWindowAspectRatio(window_, ratio, ratio);
}

const Bindings& Game::getBindings() const {
    static const Bindings defaults;
    return preferences_ ? preferences_->getBindings() : defaults;
}

bool Game::isHeld(Action action) const {
    if (playback_) {
        const ReplayFrame* played = getPlaybackFrame();
        if (!played) return false;
        switch (action) {
        case Action::UP:
            return played->up;
        case Action::DOWN:
            return played->down;
        case Action::LEFT:
            return played->left;
        case Action::RIGHT:
            return played->right;
        default:
            return false; // slow motion and pause are played back as their effect
        }
    }
    return getBindings().isHeld(action, getKeyboardState(), mouse_buttons_);
}

void Game::noteInputDevice(const SDL_Event& event, PadAction action) {
    switch (event.type) {
    case SDL_EVENT_GAMEPAD_BUTTON_DOWN:
        last_input_ = InputDevice::PAD;
        break;
    case SDL_EVENT_GAMEPAD_AXIS_MOTION:
        // Half tilt: a resting stick's drift is not the player picking the pad up.
        if (action != PadAction::NONE || std::abs(event.gaxis.value) > SDL_JOYSTICK_AXIS_MAX / 2) {
            last_input_ = InputDevice::PAD;
        }
        break;
    case SDL_EVENT_FINGER_DOWN:
        last_input_ = InputDevice::TOUCH;
        break;
    case SDL_EVENT_KEY_DOWN:
    case SDL_EVENT_MOUSE_BUTTON_DOWN:
    case SDL_EVENT_MOUSE_MOTION:
        last_input_ = InputDevice::KEYBOARD_AND_MOUSE;
        break;
    default:
        break;
    }
}

glm::vec2 Game::getMoveTilt() const {
    if (playback_) {
        const ReplayFrame* played = getPlaybackFrame();
        return played ? played->tilt : glm::vec2(0.0f);
    }
    const glm::vec2 pad = gamepad_.getMove();
    return pad != glm::vec2(0.0f) ? pad : touch_.getMove();
}

void Game::handleFinger(const SDL_TouchFingerEvent& finger) {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    glm::vec2 point(0.0f);
    SDL_RenderCoordinatesFromWindow(renderer_, finger.x * static_cast<float>(width),
                                    finger.y * static_cast<float>(height), &point.x, &point.y);
    const TouchAction action =
        touch_.handleFinger(finger.type, finger.fingerID, point, current_scene_->touchMode());
    switch (action.kind) {
    case TouchAction::PRESS:
    case TouchAction::RELEASE:
        sendTouchClick(action.kind == TouchAction::PRESS, action.point);
        break;
    case TouchAction::STRIKE: {
        // A strike goes where the cursor is, as the pad's does: the cursor goes to the finger first.
        mouse_position_ = action.point;
        is_cursor_placed_ = true;
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
    mouse_position_ = point;
    is_cursor_placed_ = true;
    float x = 0.0f;
    float y = 0.0f;
    SDL_RenderCoordinatesToWindow(renderer_, point.x, point.y, &x, &y);
    SDL_Event click{};
    click.type = down ? SDL_EVENT_MOUSE_BUTTON_DOWN : SDL_EVENT_MOUSE_BUTTON_UP;
    click.button.windowID = SDL_GetWindowID(window_);
    click.button.which = SDL_TOUCH_MOUSEID;
    click.button.button = SDL_BUTTON_LEFT;
    click.button.down = down;
    click.button.clicks = 1;
    click.button.x = x;
    click.button.y = y;
    current_scene_->handleEvents(click);
}

// Remade when the window changes size: a phone turned round has other insets and another scale.
void Game::updateTouchLayout() {
    int width = 0;
    int height = 0;
    if (!window_ || !renderer_ || !SDL_GetWindowSize(window_, &width, &height)) return;
    if (glm::ivec2(width, height) == touch_layout_window_) return;
    touch_layout_window_ = {width, height};
    const SDL_Rect safe = windowSafeArea(window_);
    glm::vec2 origin(0.0f);
    glm::vec2 corner(0.0f);
    glm::vec2 step(0.0f);
    SDL_RenderCoordinatesFromWindow(renderer_, static_cast<float>(safe.x), static_cast<float>(safe.y),
                                    &origin.x, &origin.y);
    SDL_RenderCoordinatesFromWindow(renderer_, static_cast<float>(safe.x + safe.w),
                                    static_cast<float>(safe.y + safe.h), &corner.x, &corner.y);
    SDL_RenderCoordinatesFromWindow(renderer_, static_cast<float>(safe.x + 100), static_cast<float>(safe.y),
                                    &step.x, &step.y);
    const float scale = step.x > origin.x ? 100.0f / (step.x - origin.x) : 1.0f;
    touch_.setLayout(Touch::layoutFor(screen_size_, scale,
                                      {origin.x, origin.y, corner.x - origin.x, corner.y - origin.y}));
}

void Game::setMouseState(glm::vec2 position, SDL_MouseButtonFlags buttons) {
    mouse_position_ = position;
    mouse_buttons_ = buttons;
}

bool Game::isMouseInRect(glm::vec2 top_left, glm::vec2 bottom_right) const {
    return mouse_position_.x >= top_left.x && mouse_position_.x <= bottom_right.x &&
           mouse_position_.y >= top_left.y && mouse_position_.y <= bottom_right.y;
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
