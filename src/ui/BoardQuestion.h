#pragma once
#include "object/ObjectScreen.h"

#include <SDL3_ttf/SDL_ttf.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

// Asks whether daily runs go to the board, and under which name: once, after the first daily run that
// ends with a board set, and again whenever the player chooses the board in Options. The name is typed
// through SDL's text input (an input method for Chinese, Japanese and Korean; a phone's own keyboard)
// and checked by the board's own rules before it is kept; when the board cannot be reached it is kept
// as typed and the board judges it with the run. While open it takes every input.
class BoardQuestion : public ObjectScreen {
public:
    enum Choice { SEND, DONT_SEND, CHOICES };

    static BoardQuestion* addBoardQuestionChild(Object* parent);
    // on_answer learns whether the player now sends.
    void open(std::function<void(bool sends)> on_answer);
    bool handleEvents(SDL_Event& event) override;
    void render() override;
    void clean() override;

    const std::string& getName() const { return name_; }
    // The line under the name: why it was refused, or what is happening.
    const std::string& getMessage() const { return message_; }
    bool isChecking() const { return checking_; }

private:
    void typeText(const char* text);
    void eraseLetter();
    void choose(Choice choice);
    void answer(bool sends, const std::string& name);
    // Follows the board's verdict on the name being checked.
    void followCheck();
    std::optional<int> choiceAt(glm::vec2 point) const;
    void startTyping();
    void followPageField();

    std::function<void(bool)> on_answer_;
    std::string name_;
    std::string composing_; // what an input method holds before it gives the letters
    std::string message_;
    bool checking_ = false;
    int highlighted_ = SEND;
    int drawn_size_ = 16; // of the small words
    // Ours, destroyed in clean.
    TTF_Text* title_ = nullptr;
    TTF_Text* about_ = nullptr;
    TTF_Text* field_ = nullptr;
    TTF_Text* message_text_ = nullptr;
    std::array<TTF_Text*, CHOICES> choices_{};
};
