#include "ui/OptionsMenu.h"

#include "core/Game.h"
#include "i18n/Language.h"
#include "i18n/Translation.h"
#include "online/BoardLink.h"
#include "replay/Replay.h"
#include "shell/Preferences.h"
#include "ui/BoardQuestion.h"
#include "ui/ControlsHelp.h"
#include "ui/MenuPanel.h"
#include "ui/PadMenu.h"

#include <algorithm>

namespace {

constexpr const char* kFont = "assets/font/VonwaonBitmap-16px.ttf";
constexpr const char* kHover = "assets/sound/UI_button12.wav";
constexpr const char* kPress = "assets/sound/UI_button08.wav";
using Layout = OptionsMenu::Layout;
// The panels' heights follow their pages' rows (panel()).
constexpr Layout kNormal = {{280.0f, 40.0f, 720.0f, 0.0f}, 104.0f, 24.0f, 340.0f, 700.0f, 740.0f};
constexpr Layout kLarge = {{40.0f, 20.0f, 1200.0f, 0.0f}, 100.0f, 36.0f, 100.0f, 660.0f, 720.0f};
constexpr float kFingerReach = 24.0f; // how far before the "<" a finger's tap still means it

constexpr std::array<Message, OptionsMenu::KEYS + 1> kSettingLabels = {
    msg("option", "Master volume"), msg("option", "Music volume"), msg("option", "Effects volume"),
    msg("option", "Mute"),          msg("option", "Fullscreen"),   msg("option", "Accessibility"),
    msg("option", "Keys")};

std::optional<Action> actionOfRow(int row) {
    if (row < OptionsMenu::FIRST_KEY || row >= OptionsMenu::KEYS_BACK) return std::nullopt;
    return static_cast<Action>(row - OptionsMenu::FIRST_KEY);
}

std::string labelOf(int row) {
    if (row <= OptionsMenu::KEYS) return tr(kSettingLabels[static_cast<std::size_t>(row)]);
    if (const std::optional<Action> action = actionOfRow(row)) return actionLabel(*action);
    if (row == OptionsMenu::LANGUAGE) return tr("option", "Language");
    if (row == OptionsMenu::SLOW_MODE) return tr("option", "Slow motion mode");
    if (row == OptionsMenu::GAME_SPEED) return tr("option", "Game speed");
    if (row == OptionsMenu::REDUCE_FLASHES) return tr("option", "Reduce flashes");
    if (row == OptionsMenu::TEXT_SIZE) return tr("option", "Text size");
    if (row == OptionsMenu::BOARD) return tr("option", "Daily runs to the board");
    if (row == OptionsMenu::FORGET) return tr("option", "Forget me on the board");
    return row == OptionsMenu::RESET ? tr("option", "Reset to defaults") : tr("option", "Back");
}

} // namespace

OptionsMenu* OptionsMenu::addOptionsMenuChild(Object* parent) {
    auto* menu = new OptionsMenu;
    menu->init();
    menu->title_ = menu->game_.createTTF_Text("", kFont, 32);
    for (int row = 0; row < ROWS; ++row) {
        menu->labels_[static_cast<std::size_t>(row)] = menu->text("");
        menu->values_[static_cast<std::size_t>(row)] = menu->text("");
    }
    menu->message_text_ = menu->text(optionsHint(nullptr));
    menu->setLabels();
    menu->board_question_ = BoardQuestion::addBoardQuestionChild(menu);
    menu->setActive(false);
    if (parent) parent->addChild(menu);
    return menu;
}

bool OptionsMenu::handleEvents(SDL_Event& event) {
    if (board_question_->getIsActive()) return board_question_->handleEvents(event);
    if (capturing_) {
        handleCaptureEvent(event);
    } else {
        handleMenuEvent(event);
    }
    return true;
}

void OptionsMenu::render() {
    const Layout& l = layout();
    // The player changed the text size: every row's words in the other size.
    if (TTF_Font* font = changedTextFont(kFont, drawn_size_)) {
        for (auto* list : {&labels_, &values_}) {
            for (TTF_Text* item : *list)
                TTF_SetTextFont(item, font);
        }
        TTF_SetTextFont(message_text_, font);
    }
    const SDL_FRect bar = {l.panel.x + 16.0f, l.top + l.step * static_cast<float>(highlighted_ - firstRow()) - 4.0f,
                           l.panel.w - 32.0f, l.step - 2.0f};
    drawMenuPanel(game_.getRenderer(), panel(), bar);
    if (labels_language_.changed()) setLabels();
    int w = 0;
    int h = 0;
    TTF_GetTextSize(title_, &w, &h);
    TTF_DrawRendererText(title_, l.panel.x + (l.panel.w - static_cast<float>(w)) / 2.0f, l.panel.y + 20.0f);
    for (int row = firstRow(); row < endRow(); ++row) {
        const auto index = static_cast<std::size_t>(row);
        const float y = l.top + l.step * static_cast<float>(row - firstRow());
        setTextWords(values_[index], getValueText(row));
        TTF_DrawRendererText(labels_[index], l.label_x, y);
        TTF_DrawRendererText(values_[index], l.value_x, y);
    }
    setTextWords(message_text_, message_.empty() ? optionsHint(game_.getPadNamesInUse()) : message_);
    TTF_GetTextSize(message_text_, &w, &h);
    TTF_DrawRendererText(message_text_, l.panel.x + (l.panel.w - static_cast<float>(w)) / 2.0f,
                         l.top + l.step * static_cast<float>(endRow() - firstRow()) + 12.0f);
    followForget();
    if (board_question_->getIsActive()) board_question_->render();
}

void OptionsMenu::clean() {
    ObjectScreen::clean();
    for (auto* list : {&labels_, &values_}) {
        for (TTF_Text*& item : *list) {
            if (item) TTF_DestroyText(item);
            item = nullptr;
        }
    }
    for (TTF_Text** item : {&title_, &message_text_}) {
        if (*item) TTF_DestroyText(*item);
        *item = nullptr;
    }
}

void OptionsMenu::setLabels() {
    setTextWords(title_, page_ == Page::ACCESSIBILITY ? tr("option", "Accessibility")
                         : page_ == Page::KEYS      ? tr("option", "Keys")
                                                    : tr("options title", "Options"));
    for (int row = 0; row < ROWS; ++row)
        setTextWords(labels_[static_cast<std::size_t>(row)], labelOf(row));
}

void OptionsMenu::open() {
    setActive(true);
    showPage(Page::MAIN);
    highlighted_ = 0;
    capturing_.reset();
    message_.clear();
}

void OptionsMenu::close() {
    if (capturing_) finishCapture(std::nullopt);
    forget_armed_ = false;
    setActive(false);
}

std::string OptionsMenu::getValueText(int row) const {
    const Settings& s = preferences().getSettings();
    const auto volume = [](int value) { return "< " + std::to_string(value) + " >"; };
    const auto onOff = [](bool value) {
        return std::string(value ? tr("option value", "On") : tr("option value", "Off"));
    };
    switch (row) {
    case VOLUME:
        return volume(s.volume);
    case MUSIC:
        return volume(s.music_volume);
    case EFFECTS:
        return volume(s.effects_volume);
    case MUTE:
        return onOff(s.mute);
    case FULLSCREEN:
        return onOff(s.fullscreen);
    case SLOW_MODE:
        return s.slow_toggles ? tr("option value", "Toggle") : tr("option value", "Hold");
    case GAME_SPEED:
        return "< " + fill(tr("option value", "{speed} %"), {{"speed", std::to_string(s.game_speed)}}) + " >";
    case REDUCE_FLASHES:
        return onOff(preferences().reducesFlashes());
    case TEXT_SIZE:
        return game_.isTextLarge() ? tr("option value", "Large") : tr("option value", "Normal");
    case ACCESSIBILITY:
    case KEYS:
        return ">";
    case LANGUAGE: {
        const std::optional<std::size_t> index = languageIndex(languageInUse());
        return "< " + std::string(languages()[index.value_or(0)].name) + " >";
    }
    case BOARD:
        if (!game_.getBoardLink()) return tr("option value", "No board set");
        if (!game_.getBoard()) return onOff(false);
        return s.board_name.empty() ? onOff(true) : s.board_name;
    default:
        break;
    }
    const std::optional<Action> action = actionOfRow(row);
    if (!action) return "";
    if (capturing_ == action) {
        return takesMouseButton(*action) ? tr("option value", "Press a key or click...")
                                         : tr("option value", "Press a key...");
    }
    return s.bindings.describe(*action);
}

void OptionsMenu::handleMenuEvent(const SDL_Event& event) {
    // Where the event happened, not where the cursor was drawn last frame.
    SDL_Event local = event;
    SDL_ConvertEventToRenderCoordinates(game_.getRenderer(), &local);
    if (event.type == SDL_EVENT_MOUSE_MOTION) {
        if (const std::optional<int> row = rowAt({local.motion.x, local.motion.y})) highlight(*row);
        return;
    }
    if (event.type == SDL_EVENT_MOUSE_BUTTON_DOWN && event.button.button == SDL_BUTTON_LEFT) {
        const glm::vec2 point(local.button.x, local.button.y);
        const std::optional<int> row = rowAt(point);
        if (!row) return;
        highlight(*row);
        // A finger is too broad for the small arrows: either half of the row does, but the "<" itself,
        // which stands in the right half, and a finger's width before it lower.
        const bool finger = event.button.which == SDL_TOUCH_MOUSEID;
        const Layout& l = layout();
        const bool on_lower_arrow = point.x >= l.value_x - kFingerReach && point.x < l.value_middle;
        const bool lower = finger ? point.x < l.panel.x + l.panel.w / 2.0f || on_lower_arrow : point.x < l.value_middle;
        if (*row <= EFFECTS || *row == LANGUAGE || *row == GAME_SPEED) {
            change(*row, lower ? -1 : 1);
        } else if (finger && actionOfRow(*row)) {
            setMessage(tr("options line", "Keys are changed with a keyboard"));
        } else {
            choose(*row);
        }
        return;
    }
    switch (menuActionOf(event)) {
    case PadAction::UP:
    case PadAction::DOWN: {
        const int count = endRow() - firstRow();
        const int step = menuActionOf(event) == PadAction::UP ? count - 1 : 1;
        highlight(firstRow() + (highlighted_ - firstRow() + step) % count);
        break;
    }
    case PadAction::LEFT:
        change(highlighted_, -1);
        break;
    case PadAction::RIGHT:
        change(highlighted_, 1);
        break;
    case PadAction::PRIMARY:
        choose(highlighted_);
        break;
    case PadAction::BACK:
    case PadAction::PAUSE:
        if (page_ != Page::MAIN) {
            showPage(Page::MAIN);
        } else {
            close();
        }
        break;
    default:
        break;
    }
}

// Esc, a click on a key-only action or the pad's back button cancel; any other key or mouse button
// becomes the action's binding.
void OptionsMenu::handleCaptureEvent(const SDL_Event& event) {
    if (event.type == SDL_EVENT_KEY_DOWN && !event.key.repeat) {
        const bool cancel = event.key.scancode == SDL_SCANCODE_ESCAPE;
        finishCapture(cancel ? std::nullopt : std::optional<Binding>(Binding{event.key.scancode, 0}));
        return;
    }
    if (event.type == SDL_EVENT_MOUSE_BUTTON_DOWN) {
        const Uint8 button = event.button.button;
        // A finger's tap is not a mouse button to bind.
        const bool usable = event.button.which != SDL_TOUCH_MOUSEID && takesMouseButton(*capturing_) &&
                            (button == SDL_BUTTON_LEFT || button == SDL_BUTTON_RIGHT);
        finishCapture(usable ? std::optional<Binding>(Binding{SDL_SCANCODE_UNKNOWN, button}) : std::nullopt);
        return;
    }
    if (padActionOf(event) == PadAction::BACK) finishCapture(std::nullopt);
}

void OptionsMenu::finishCapture(std::optional<Binding> binding) {
    const Action action = *capturing_;
    capturing_.reset();
    preferences().setCapturingKeys(false);
    if (!binding) {
        setMessage(fill(tr("options line", "{action} unchanged"), {{"action", actionLabel(action)}}));
        return;
    }
    game_.playSound(kPress);
    // A mouse button's own role (the left strikes, the right slows time) goes too: say so, as for a key.
    const Uint8 button = binding->mouse_button;
    const Action role = button == SDL_BUTTON_LEFT ? Action::STRIKE : Action::SLOW;
    const bool takes_role = button != 0 && role != action && preferences().getBindings().mouseDoes(button, role);
    const std::optional<Action> exchanged = preferences().bind(action, *binding);
    const std::optional<Action> swapped = takes_role ? std::optional(role) : exchanged;
    if (!swapped) {
        setMessage(fill(tr("options line", "{action}: {key}"),
                        {{"action", actionLabel(action)}, {"key", bindingLabel(*binding)}}));
        return;
    }
    setMessage(fill(tr("options line", "{key} was the key for {action}, which now has {other}"),
                    {{"key", bindingLabel(*binding)},
                     {"action", actionLabel(*swapped)},
                     {"other", bindingLabel(preferences().getBindings().get(*swapped))}}));
}

void OptionsMenu::change(int row, int direction) {
    Preferences& prefs = preferences();
    const Settings& s = prefs.getSettings();
    const int step = direction * Settings::VOLUME_STEP;
    switch (row) {
    case VOLUME:
        prefs.setVolume(s.volume + step);
        break;
    case MUSIC:
        prefs.setMusicVolume(s.music_volume + step);
        break;
    case EFFECTS:
        prefs.setEffectsVolume(s.effects_volume + step);
        break;
    case MUTE:
    case FULLSCREEN:
    case SLOW_MODE:
    case REDUCE_FLASHES:
    case TEXT_SIZE:
        choose(row);
        return;
    case GAME_SPEED:
        stepGameSpeed(direction);
        break;
    case LANGUAGE:
        stepLanguage(direction);
        break;
    default:
        return;
    }
    game_.playSound(kHover);
}

void OptionsMenu::choose(int row) {
    Preferences& prefs = preferences();
    const Settings& s = prefs.getSettings();
    game_.playSound(kPress);
    switch (row) {
    case VOLUME:
    case MUSIC:
    case EFFECTS: {
        // Enter alone walks a volume up, from full back round to silence.
        const int now = row == VOLUME ? s.volume : row == MUSIC ? s.music_volume : s.effects_volume;
        change(row, now >= 100 ? -100 / Settings::VOLUME_STEP : 1);
        return;
    }
    case MUTE:
        prefs.setMute(!s.mute, true);
        return;
    case FULLSCREEN:
        prefs.setFullscreen(!s.fullscreen, true);
        return;
    case ACCESSIBILITY:
        showPage(Page::ACCESSIBILITY);
        return;
    case KEYS:
        showPage(Page::KEYS);
        return;
    case SLOW_MODE:
        prefs.setSlowToggles(!s.slow_toggles);
        return;
    case GAME_SPEED:
        // Enter alone walks the speed down, from half back round to full.
        stepGameSpeed(s.game_speed <= 50 ? 5 : -1);
        return;
    case REDUCE_FLASHES:
        prefs.setReduceFlashes(!prefs.reducesFlashes());
        return;
    case TEXT_SIZE:
        prefs.setLargeText(!game_.isTextLarge());
        return;
    case ACCESSIBILITY_BACK:
    case KEYS_BACK:
        showPage(Page::MAIN);
        return;
    case LANGUAGE:
        stepLanguage(1);
        return;
    case BOARD:
        chooseBoard();
        return;
    case FORGET:
        forgetPlayer();
        return;
    case RESET:
        prefs.resetToDefaults();
        setMessage(tr("options line", "Everything here is back to its default"));
        return;
    case BACK:
        close();
        return;
    default:
        capturing_ = actionOfRow(row);
        prefs.setCapturingKeys(true);
        setMessage(tr("options line", "Esc cancels"));
        return;
    }
}

// The next language in the list, or the one before; kept as the player's choice from then on.
void OptionsMenu::stepLanguage(int direction) {
    const int count = static_cast<int>(languages().size());
    const int now = static_cast<int>(languageIndex(languageInUse()).value_or(0));
    const auto next = static_cast<std::size_t>((now + direction + count) % count);
    preferences().setLanguage(std::string(languages()[next].code));
    message_.clear(); // said in the old language
}

// Each step is ten percent; the game being played keeps its speed, which its replay holds.
void OptionsMenu::stepGameSpeed(int direction) {
    const int speed = std::clamp(preferences().getSettings().game_speed + 10 * direction, 50, 100);
    preferences().setGameSpeed(speed);
    setMessage(speed == Replay::FULL_SPEED
                   ? tr("options line", "The next game runs at full speed")
                   // xgettext:no-c-format
                   : fill(tr("options line", "The next game runs at {speed} % speed: its score is kept apart"),
                          {{"speed", std::to_string(speed)}}));
}

int OptionsMenu::firstRow() const {
    return page_ == Page::ACCESSIBILITY ? SLOW_MODE : page_ == Page::KEYS ? FIRST_KEY : 0;
}

int OptionsMenu::endRow() const {
    return page_ == Page::ACCESSIBILITY ? FIRST_KEY : page_ == Page::KEYS ? ROWS : MAIN_ROWS;
}

// Back on the first page, the row of the page left is lit.
void OptionsMenu::showPage(Page page) {
    if (page == page_) return;
    highlighted_ = page == Page::ACCESSIBILITY ? SLOW_MODE
                   : page == Page::KEYS        ? FIRST_KEY
                   : page_ == Page::KEYS       ? KEYS
                                               : ACCESSIBILITY;
    page_ = page;
    forget_armed_ = false;
    message_.clear();
    setLabels();
}

void OptionsMenu::chooseBoard() {
    if (!game_.getBoardLink()) {
        setMessage(tr("options line", "No board is set: see board_url in the README"));
        return;
    }
    board_question_->open([this](bool sends) {
        setMessage(sends ? tr("options line", "Your daily runs go to the board")
                         : tr("options line", "Your daily runs stay here"));
    });
}

// Asked twice: the board erases every run of the player's, for good.
void OptionsMenu::forgetPlayer() {
    BoardLink* link = game_.getBoardLink();
    if (!link) {
        setMessage(tr("options line", "No board is set: see board_url in the README"));
        return;
    }
    if (forgetting_) return;
    if (!forget_armed_) {
        forget_armed_ = true;
        setMessage(tr("options line", "Choose again to erase all your runs from the board"));
        return;
    }
    forget_armed_ = false;
    const std::optional<std::string> key = link->key();
    if (!key) {
        setMessage(tr("options line", "The board has nothing of yours"));
        return;
    }
    link->client().forget(*key);
    forgetting_ = true;
    setMessage(tr("options line", "Asking the board to forget you..."));
}

void OptionsMenu::followForget() {
    BoardLink* link = game_.getBoardLink();
    if (!forgetting_ || !link) return;
    const BoardClient::Result result = link->client().forgotten();
    if (result.state == BoardClient::State::ASKING) return;
    forgetting_ = false;
    if (result.state == BoardClient::State::DONE) {
        link->renewKey(); // a new player from now on; the old key names nobody
        SDL_Log("Board: the board forgot the player (%s runs erased); a new key is made", result.value.c_str());
        setMessage(fill(tr("options line", "The board forgot you: {runs} runs erased"), {{"runs", result.value}}));
        return;
    }
    SDL_Log("Board: the board cannot forget the player now: %s", result.why.c_str());
    setMessage(fill(tr("options line", "The board cannot forget you now: {reason}"), {{"reason", result.why}}));
}

void OptionsMenu::highlight(int row) {
    if (row == highlighted_) return;
    highlighted_ = row;
    forget_armed_ = false;
    game_.playSound(kHover);
}

std::optional<int> OptionsMenu::rowAt(glm::vec2 point) const {
    const Layout& l = layout();
    const SDL_FRect box = panel();
    if (point.x < box.x || point.x > box.x + box.w || point.y < l.top - 4.0f) return std::nullopt;
    const int row = firstRow() + static_cast<int>((point.y - l.top + 4.0f) / l.step);
    return row < endRow() ? std::optional<int>(row) : std::nullopt;
}

void OptionsMenu::setMessage(std::string message) {
    message_ = std::move(message);
}

Preferences& OptionsMenu::preferences() const {
    return *game_.getPreferences();
}

TTF_Text* OptionsMenu::text(const std::string& words) const {
    return game_.createTTF_Text(words, kFont, drawn_size_); // render follows the text size
}

// As high as the page's rows and the line under them.
SDL_FRect OptionsMenu::panel() const {
    const Layout& l = layout();
    SDL_FRect box = l.panel;
    box.h = l.top - l.panel.y + l.step * static_cast<float>(endRow() - firstRow()) + 2.0f * l.step + 12.0f;
    return box;
}

const OptionsMenu::Layout& OptionsMenu::layout() const {
    return game_.isTextLarge() ? kLarge : kNormal;
}
