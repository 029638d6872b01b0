#pragma once
#include "object/ObjectScreen.h"

#include <SDL3_ttf/SDL_ttf.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

// A question with a yes and a no, over the scene: the mouse, a tap, the keys or the pad choose, and Esc or
// the pad's back answer no. While open it takes every input.
class ConfirmBox : public ObjectScreen {
public:
    enum Choice { YES, NO, CHOICES };

    static ConfirmBox* addConfirmBoxChild(Object* parent);
    // The words are in the language on screen; on_answer learns whether the player said yes.
    void open(const std::string& question, const std::string& yes, const std::string& no,
              std::function<void(bool yes)> on_answer);
    bool handleEvents(SDL_Event& event) override;
    void render() override;
    void clean() override;

private:
    void choose(Choice choice);
    std::optional<int> choiceAt(glm::vec2 point) const;

    std::function<void(bool)> on_answer_;
    int highlighted_ = NO;
    int drawn_size_ = 16; // of the choices' words
    // Ours, destroyed in clean.
    TTF_Text* question_ = nullptr;
    std::array<TTF_Text*, CHOICES> choices_{};
};
