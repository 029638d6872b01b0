#include "shell/Preferences.h"

#include "core/Game.h"
#include "i18n/Language.h"
#include "i18n/Translation.h"
#include "shell/Platform.h"

#include <algorithm>

namespace {
constexpr const char* kFont = "assets/font/VonwaonBitmap-16px.ttf";
constexpr int kFontSize = 24;
} // namespace

Preferences::Preferences(std::string file_path) : game_(Game::getInstance()), file_(std::move(file_path)) {
}

Preferences::~Preferences() {
    if (note_text_) TTF_DestroyText(note_text_);
}

void Preferences::load() {
    stored_ = file_.load();
    settings_ = stored_;
    if (settings_.fullscreen) setFullscreen(true, false);
    applyVolume();
    applyLanguage();
    if (reducesFlashes())
        SDL_Log("Flashes reduced: %s",
                settings_.reduce_flashes ? "chosen in Options" : "the system asks for less motion");
}

bool Preferences::handleEvent(const SDL_Event& event) {
    if (event.type != SDL_EVENT_KEY_DOWN || is_capturing_keys_) return false;
    if (settings_.bindings.actionOf({event.key.scancode, 0})) return false;
    const SDL_Keycode key = event.key.key;
    const bool toggle_fullscreen =
        key == SDLK_F11 || ((key == SDLK_RETURN || key == SDLK_KP_ENTER) && (event.key.mod & SDL_KMOD_ALT));
    if (toggle_fullscreen) {
        if (!event.key.repeat) setFullscreen(!settings_.fullscreen, true);
        return true;
    }
    if (key == SDLK_M) {
        if (!event.key.repeat) setMute(!settings_.mute, true);
        return true;
    }
    // Held, these keep stepping: key repeat is the way to sweep the volume.
    if (key == SDLK_MINUS || key == SDLK_KP_MINUS) {
        stepVolume(-1);
        return true;
    }
    if (key == SDLK_EQUALS || key == SDLK_PLUS || key == SDLK_KP_PLUS) {
        stepVolume(1);
        return true;
    }
    return false;
}

void Preferences::update(float dt) {
    if (note_.empty()) return;
    note_timer_ -= dt;
    if (note_timer_ <= 0.0f) note_.clear();
}

void Preferences::render() {
    if (note_.empty()) return;
    if (!note_text_) note_text_ = game_.createTTF_Text(note_, kFont, kFontSize);
    if (!note_text_) return;
    int w = 0;
    int h = 0;
    TTF_GetTextSize(note_text_, &w, &h);
    const glm::vec2 screen = game_.getScreenSize();
    const float x = (screen.x - static_cast<float>(w)) / 2.0f;
    const float y = 90.0f;
    SDL_Renderer* renderer = game_.getRenderer();
    const SDL_FRect box = {x - 16.0f, y - 8.0f, static_cast<float>(w) + 32.0f, static_cast<float>(h) + 16.0f};
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 180);
    SDL_RenderFillRect(renderer, &box);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    TTF_DrawRendererText(note_text_, x, y);
}

void Preferences::setFullscreen(bool fullscreen, bool keep_it) {
    settings_.fullscreen = fullscreen;
    if (keep_it) stored_.fullscreen = fullscreen;
    // The desktop's own resolution: the logical presentation letterboxes the picture into it.
    if (SDL_Window* window = game_.getWindow()) SDL_SetWindowFullscreen(window, fullscreen);
    if (keep_it) file_.save(stored_);
}

void Preferences::setMute(bool mute, bool keep_it) {
    settings_.mute = mute;
    applyVolume();
    showNote(mute ? tr("note", "Muted") : volumeNote());
    if (!keep_it) return;
    stored_.mute = mute;
    file_.save(stored_);
}

void Preferences::stepVolume(int steps) {
    settings_.volume = std::clamp(settings_.volume + steps * Settings::VOLUME_STEP, 0, 100);
    applyVolume();
    showNote(settings_.mute ? fill(tr("note", "Volume {volume}% (muted)"),
                                   {{"volume", std::to_string(settings_.volume)}})
                            : volumeNote());
    stored_.volume = settings_.volume;
    file_.save(stored_);
}

void Preferences::setVolume(int volume) {
    keep([volume](Settings& s) { s.volume = std::clamp(volume, 0, 100); });
    applyVolume();
}

void Preferences::setMusicVolume(int volume) {
    keep([volume](Settings& s) { s.music_volume = std::clamp(volume, 0, 100); });
    applyVolume();
}

void Preferences::setEffectsVolume(int volume) {
    keep([volume](Settings& s) { s.effects_volume = std::clamp(volume, 0, 100); });
    applyVolume();
}

void Preferences::setSlowToggles(bool toggles) {
    keep([toggles](Settings& s) { s.slow_toggles = toggles; });
}

void Preferences::setGameSpeed(int percent) {
    keep([percent](Settings& s) { s.game_speed = percent; });
}

void Preferences::setReduceFlashes(bool reduce, bool keep_it) {
    settings_.reduce_flashes = reduce;
    if (!keep_it) return;
    stored_.reduce_flashes = reduce;
    file_.save(stored_);
}

void Preferences::setLargeText(bool large) {
    keep([large](Settings& s) { s.large_text = large; });
}

bool Preferences::reducesFlashes() const {
    return settings_.reduce_flashes.value_or(prefersReducedMotion());
}

void Preferences::setLanguage(std::string code) {
    keep([&code](Settings& s) { s.language = code; });
    applyLanguage();
}

void Preferences::setControlsSeen() {
    if (settings_.controls_seen) return;
    keep([](Settings& s) { s.controls_seen = true; });
}

void Preferences::setBoardSending(bool send, const std::string& name) {
    keep([&](Settings& s) {
        s.board_asked = true;
        s.board_send = send;
        if (send) s.board_name = name;
    });
}

std::optional<Action> Preferences::bind(Action action, Binding binding) {
    const std::optional<Action> swapped = settings_.bindings.bind(action, binding);
    keep([this](Settings& s) { s.bindings = settings_.bindings; });
    return swapped;
}

void Preferences::resetToDefaults() {
    // The language stays: it is how the player reads this screen, not how the game plays. So does all
    // of the board: what the player agreed to is not a preference to undo in passing.
    Settings defaults;
    defaults.controls_seen = settings_.controls_seen;
    defaults.language = std::move(settings_.language);
    defaults.board_url = std::move(settings_.board_url);
    defaults.board_asked = settings_.board_asked;
    defaults.board_send = settings_.board_send;
    defaults.board_name = std::move(settings_.board_name);
    settings_ = std::move(defaults);
    stored_ = settings_;
    setFullscreen(false, true);
    applyVolume();
}

template <typename Change> void Preferences::keep(Change change) {
    change(settings_);
    change(stored_);
    file_.save(stored_);
}

void Preferences::applyVolume() {
    const float gain = settings_.mute ? 0.0f : static_cast<float>(settings_.volume) / 100.0f;
    if (MIX_Mixer* mixer = game_.getMixer()) MIX_SetMixerGain(mixer, gain);
    const auto share = [](int volume) { return Game::VOLUME * static_cast<float>(volume) / 100.0f; };
    if (MIX_Track* music = game_.getMusicTrack()) MIX_SetTrackGain(music, share(settings_.music_volume));
    for (int i = 0; i < Game::EFFECT_TRACKS; ++i) {
        if (MIX_Track* track = game_.getEffectTrack(i))
            MIX_SetTrackGain(track, share(settings_.effects_volume));
    }
}

void Preferences::applyLanguage() {
    const bool chosen = !settings_.language.empty();
    const std::string_view code = chosen ? std::string_view(settings_.language) : systemLanguage();
    useLanguage(code);
    SDL_Log("Language: %s (%s)", std::string(languageInUse()).c_str(),
            chosen ? "chosen in Options" : "the system's");
}

std::string Preferences::volumeNote() const {
    return fill(tr("note", "Volume {volume}%"), {{"volume", std::to_string(settings_.volume)}});
}

void Preferences::showNote(std::string text) {
    note_ = std::move(text);
    note_timer_ = NOTE_SECONDS;
    // Set once here, not on every frame the note is drawn.
    if (note_text_) TTF_SetTextString(note_text_, note_.c_str(), note_.size());
}
