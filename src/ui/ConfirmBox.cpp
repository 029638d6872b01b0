#include "ui/ConfirmBox.h"

#include "core/Game.h"
#include "ui/MenuPanel.h"
#include "ui/PadMenu.h"

namespace {

constexpr const char* kFont = "assets/font/VonwaonBitmap-16px.ttf";
constexpr const char* kPress = "assets/sound/UI_button08.wav";
constexpr SDL_FRect kPanel = {290.0f, 250.0f, 700.0f, 200.0f};
constexpr float kChoiceTop = 350.0f;
constexpr float kChoiceStep = 34.0f;

} // namespace

ConfirmBox* ConfirmBox::addConfirmBoxChild(Object* parent) {
    auto* box = new ConfirmBox;
    box->init();
    box->question_ = box->game_.createTTF_Text("", kFont, 32);
    TTF_SetTextWrapWidth(box->question_, static_cast<int>(kPanel.w - 40.0f));
    for (TTF_Text*& choice : box->choices_)
        choice = box->game_.createTTF_Text("", kFont, 16);
    box->setActive(false);
    if (parent) parent->addChild(box);
    return box;
}

void ConfirmBox::open(const std::string& question, const std::string& yes, const std::string& no,
                      std::function<void(bool)> on_answer) {
    setTextWords(question_, question);
    setTextWords(choices_[YES], yes);
    setTextWords(choices_[NO], no);
    on_answer_ = std::move(on_answer);
    highlighted_ = NO; // what was asked about is not lost by a press of Enter
    setActive(true);
}

bool ConfirmBox::handleEvents(SDL_Event& event) {
    SDL_Event local = event;
    SDL_ConvertEventToRenderCoordinates(game_.getRenderer(), &local);
    if (event.type == SDL_EVENT_MOUSE_MOTION) {
        if (const std::optional<int> choice = choiceAt({local.motion.x, local.motion.y})) highlighted_ = *choice;
        return true;
    }
    if (event.type == SDL_EVENT_MOUSE_BUTTON_DOWN) {
        if (const std::optional<int> choice = choiceAt({local.button.x, local.button.y}))
            choose(static_cast<Choice>(*choice));
        return true;
    }
    if (const std::optional<int> choice = twoRowsAction(menuActionOf(event), highlighted_, NO))
        choose(static_cast<Choice>(*choice));
    return true;
}

void ConfirmBox::choose(Choice choice) {
    game_.playSound(kPress);
    setActive(false);
    if (on_answer_) on_answer_(choice == YES);
}

std::optional<int> ConfirmBox::choiceAt(glm::vec2 point) const {
    return rowAt(kPanel, kChoiceTop, kChoiceStep, CHOICES, point);
}

void ConfirmBox::render() {
    if (!getIsActive()) return;
    if (TTF_Font* font = changedTextFont(kFont, drawn_size_)) {
        for (TTF_Text* choice : choices_)
            TTF_SetTextFont(choice, font);
    }
    const SDL_FRect bar = {kPanel.x + 150.0f, kChoiceTop + kChoiceStep * static_cast<float>(highlighted_) - 6.0f,
                           kPanel.w - 300.0f, kChoiceStep - 4.0f};
    drawMenuPanel(game_.getRenderer(), kPanel, bar);
    drawCentred(question_, kPanel, kPanel.y + 30.0f);
    for (int choice = 0; choice < CHOICES; ++choice)
        drawCentred(choices_[static_cast<std::size_t>(choice)], kPanel, kChoiceTop + kChoiceStep * static_cast<float>(choice));
}

void ConfirmBox::clean() {
    ObjectScreen::clean();
    for (TTF_Text** text : {&question_, &choices_[0], &choices_[1]}) {
        if (*text) TTF_DestroyText(*text);
        *text = nullptr;
    }
}
