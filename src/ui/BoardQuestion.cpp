#include "ui/BoardQuestion.h"

#include "core/Game.h"
#include "i18n/Translation.h"
#include "online/BoardLink.h"
#include "shell/Gamepad.h"
#include "shell/Platform.h"
#include "shell/Preferences.h"
#include "ui/MenuPanel.h"

namespace {

constexpr const char* kFont = "assets/font/VonwaonBitmap-16px.ttf";
constexpr const char* kPress = "assets/sound/UI_button08.wav";
constexpr float kPanelWidth = 800.0f;
constexpr float kWrap = kPanelWidth - 80.0f;
// Where the question's parts stand, for the normal text and the large; the words about the board take
// at most five lines.
struct Layout {
    SDL_FRect panel;
    float about_y;
    SDL_FRect field;
    float choice_top;
    float choice_step;
};
constexpr Layout kNormal = {
    {240.0f, 170.0f, kPanelWidth, 380.0f}, 240.0f, {340.0f, 330.0f, 600.0f, 32.0f}, 430.0f, 34.0f};
constexpr Layout kLarge = {
    {240.0f, 120.0f, kPanelWidth, 460.0f}, 190.0f, {340.0f, 330.0f, 600.0f, 40.0f}, 450.0f, 44.0f};

const Layout& layout() {
    return Game::getInstance().isTextLarge() ? kLarge : kNormal;
}
constexpr std::size_t kLongestName = 16; // the board's own limit, in letters

std::size_t letters(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

} // namespace

BoardQuestion* BoardQuestion::addBoardQuestionChild(Object* parent) {
    auto* question = new BoardQuestion;
    question->init();
    Game& game = question->game_;
    question->title_ = game.createTTF_Text("", kFont, 32);
    question->about_ = game.createTTF_Text("", kFont, 16);
    TTF_SetTextWrapWidth(question->about_, static_cast<int>(kWrap));
    question->field_ = game.createTTF_Text("", kFont, 16);
    question->message_text_ = game.createTTF_Text("", kFont, 16);
    TTF_SetTextWrapWidth(question->message_text_, static_cast<int>(kWrap));
    for (TTF_Text*& choice : question->choices_)
        choice = game.createTTF_Text("", kFont, 16);
    question->setActive(false);
    if (parent) parent->addChild(question);
    return question;
}

void BoardQuestion::open(std::function<void(bool)> on_answer) {
    BoardLink* link = game_.getBoardLink();
    if (!link) return;
    on_answer_ = std::move(on_answer);
    const Settings& settings = game_.getPreferences()->getSettings();
    name_ = settings.board_name;
    // A name already filled in: the one the board would make, from a key made for it now.
    if (name_.empty()) {
        const std::optional<std::string> key = link->key();
        name_ = key ? "Ghost-" + link->tagOf(*key).substr(0, 4) : std::string();
    }
    composing_.clear();
    message_.clear();
    checking_ = false;
    highlighted_ = SEND;
    setActive(true);
    startTyping();
    SDL_Log("Board: asking the player whether daily runs go to %s", link->address().c_str());
}

void BoardQuestion::startTyping() {
    SDL_Window* window = game_.getWindow();
    if (!window) return;
    // The input method's window opens by the field.
    const SDL_FRect& field = layout().field;
    const SDL_Rect area = {static_cast<int>(field.x), static_cast<int>(field.y), static_cast<int>(field.w),
                           static_cast<int>(field.h)};
    SDL_SetTextInputArea(window, &area, 0);
    SDL_StartTextInput(window);
    showPageTextField(area, name_);
}

// In a browser the page's own field holds the name (see showPageTextField).
void BoardQuestion::followPageField() {
    const std::optional<PageTextField> field = readPageTextField();
    if (!field) return;
    name_.clear();
    typeText(field->text.c_str());
    if (field->entered) choose(static_cast<Choice>(highlighted_));
    if (field->escaped) choose(DONT_SEND);
}

bool BoardQuestion::handleEvents(SDL_Event& event) {
    if (checking_) return true; // the name is with the board; its verdict comes within seconds
    SDL_Event local = event;
    SDL_ConvertEventToRenderCoordinates(game_.getRenderer(), &local);
    switch (event.type) {
    case SDL_EVENT_TEXT_INPUT:
        typeText(event.text.text);
        return true;
    case SDL_EVENT_TEXT_EDITING:
        composing_ = event.edit.text ? event.edit.text : "";
        return true;
    case SDL_EVENT_KEY_DOWN:
        if (!composing_.empty()) return true; // the input method's, not ours
        if (event.key.key == SDLK_BACKSPACE) eraseLetter();
        if (event.key.key == SDLK_RETURN || event.key.key == SDLK_KP_ENTER) choose(static_cast<Choice>(highlighted_));
        if (event.key.key == SDLK_ESCAPE) choose(DONT_SEND);
        if (event.key.key == SDLK_UP || event.key.key == SDLK_DOWN) highlighted_ = 1 - highlighted_;
        return true;
    case SDL_EVENT_MOUSE_MOTION:
        if (const std::optional<int> choice = choiceAt({local.motion.x, local.motion.y})) highlighted_ = *choice;
        return true;
    case SDL_EVENT_MOUSE_BUTTON_DOWN: {
        const glm::vec2 point(local.button.x, local.button.y);
        if (const std::optional<int> choice = choiceAt(point)) {
            choose(static_cast<Choice>(*choice));
        } else if (SDL_PointInRectFloat(reinterpret_cast<const SDL_FPoint*>(&point), &layout().field)) {
            startTyping(); // a phone's keyboard, closed by the player, comes back with a tap on the name
        }
        return true;
    }
    default:
        break;
    }
    if (const std::optional<int> choice = twoRowsAction(padActionOf(event), highlighted_, DONT_SEND))
        choose(static_cast<Choice>(*choice));
    return true;
}

void BoardQuestion::typeText(const char* text) {
    composing_.clear();
    for (const char* c = text; c && *c; ++c) {
        // One letter at a time, whole, while the name has room.
        const auto byte = static_cast<unsigned char>(*c);
        if ((byte & 0xC0) != 0x80 && letters(name_) == kLongestName) break;
        if (byte >= 0x20 && byte != 0x7F) name_ += *c;
    }
    message_.clear();
}

void BoardQuestion::eraseLetter() {
    while (!name_.empty() && (static_cast<unsigned char>(name_.back()) & 0xC0) == 0x80)
        name_.pop_back();
    if (!name_.empty()) name_.pop_back();
    message_.clear();
}

void BoardQuestion::choose(Choice choice) {
    game_.playSound(kPress);
    if (choice == DONT_SEND) {
        answer(false, name_);
        return;
    }
    BoardLink* link = game_.getBoardLink();
    if (!link) return;
    link->client().checkName(name_);
    checking_ = true;
    message_ = tr("board line", "Checking the name with the board...");
}

void BoardQuestion::followCheck() {
    BoardLink* link = game_.getBoardLink();
    if (!checking_ || !link) return;
    const BoardClient::Result check = link->client().nameCheck();
    if (check.state == BoardClient::State::ASKING) return;
    checking_ = false;
    if (check.state == BoardClient::State::DONE) {
        answer(true, check.value);
        return;
    }
    if (check.status == 0) {
        // The board will judge the name with the first run it gets.
        answer(true, name_);
        return;
    }
    message_ = fill(tr("board line", "The board refuses this name: {reason}"), {{"reason", check.why}});
    SDL_Log("Board: the name typed is refused: %s", check.why.c_str());
}

void BoardQuestion::answer(bool sends, const std::string& name) {
    SDL_StopTextInput(game_.getWindow());
    hidePageTextField();
    setActive(false);
    game_.getPreferences()->setBoardSending(sends, name);
    if (sends) {
        SDL_Log("Board: the player sends daily runs as %s", name.c_str());
    } else {
        SDL_Log("Board: the player does not send daily runs");
    }
    if (BoardLink* link = game_.getBoardLink()) {
        if (sends) {
            link->startSending(name);
        } else {
            link->stopSending();
        }
    }
    if (on_answer_) on_answer_(sends);
}

std::optional<int> BoardQuestion::choiceAt(glm::vec2 point) const {
    const Layout& l = layout();
    return rowAt(l.panel, l.choice_top, l.choice_step, CHOICES, point);
}

void BoardQuestion::render() {
    if (getIsActive() && !checking_) followPageField();
    followCheck();
    if (!getIsActive()) return;
    if (TTF_Font* font = changedTextFont(kFont, drawn_size_)) {
        for (TTF_Text* text : {about_, field_, message_text_, choices_[SEND], choices_[DONT_SEND]})
            TTF_SetTextFont(text, font);
    }
    const Layout& l = layout();
    SDL_Renderer* renderer = game_.getRenderer();
    const float bar_y = l.choice_top + l.choice_step * static_cast<float>(highlighted_) - 6.0f;
    const SDL_FRect bar = {l.panel.x + 200.0f, bar_y, l.panel.w - 400.0f, l.choice_step - 4.0f};
    drawMenuPanel(renderer, l.panel, bar);
    SDL_SetRenderDrawColor(renderer, kMenuBorder.r, kMenuBorder.g, kMenuBorder.b, kMenuBorder.a);
    SDL_RenderRect(renderer, &l.field);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);

    BoardLink* link = game_.getBoardLink();
    setTextWords(title_, tr("board title", "Send your daily runs to the board?"));
    setTextWords(about_, fill(tr("board about", "The board at {address} plays each of your daily runs again and "
                                                "ranks it. It gets the run, the name below and a random key made "
                                                "for it; nothing else. Options can change this."),
                           {{"address", link ? link->address() : std::string()}}));
    // The caret stands after what is typed, and what an input method still composes follows it.
    setTextWords(field_, name_ + composing_ + "_");
    setTextWords(message_text_, message_.empty() ? tr("board question", "Type your name on the board") : message_);
    setTextWords(choices_[SEND], tr("board question", "Send under this name"));
    setTextWords(choices_[DONT_SEND], tr("board question", "Do not send"));
    drawCentred(title_, l.panel, l.panel.y + 20.0f);
    TTF_DrawRendererText(about_, l.panel.x + 40.0f, l.about_y);
    TTF_DrawRendererText(field_, l.field.x + 10.0f, l.field.y + 8.0f);
    drawCentred(message_text_, l.panel, l.field.y + l.field.h + 14.0f);
    for (int choice = 0; choice < CHOICES; ++choice) {
        const float y = l.choice_top + l.choice_step * static_cast<float>(choice);
        drawCentred(choices_[static_cast<std::size_t>(choice)], l.panel, y);
    }
}

void BoardQuestion::clean() {
    ObjectScreen::clean();
    if (getIsActive()) {
        SDL_StopTextInput(game_.getWindow());
        hidePageTextField();
    }
    for (TTF_Text** text : {&title_, &about_, &field_, &message_text_, &choices_[0], &choices_[1]}) {
        if (*text) TTF_DestroyText(*text);
        *text = nullptr;
    }
}
