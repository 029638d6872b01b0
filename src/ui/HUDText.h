#pragma once
#include "object/Anchor.h"
#include "object/ObjectScreen.h"

#include <optional>
#include <string>

class Sprite;
class TextLabel;

// A text box: a background image stretched to the box, with a line of text over it.
class HUDText : public ObjectScreen {
public:
    static HUDText* addHUDTextChild(Object* parent, const std::string& text, glm::vec2 position,
                                    glm::vec2 size, const std::string& font_path, int font_size,
                                    const std::string& bg_path, Anchor anchor);

    void render() override;
    // The label follows the text; the box keeps its size.
    void setText(const std::string& text);
    void setSize(glm::vec2 size);
    // Sizes the box to the text plus margin, margin / 2 on every side when both are centred, and again
    // whenever the player's text size changes.
    void setBgSizeByText(float margin);
    glm::vec2 getSize() const { return size_; }
    TextLabel* getTextLabel() const { return text_label_; }
    Sprite* getBackground() const { return sprite_bg_; }

private:
    // Children, owned through the children list.
    TextLabel* text_label_ = nullptr;
    Sprite* sprite_bg_ = nullptr;
    glm::vec2 size_ = glm::vec2(0.0f);
    std::optional<float> fit_margin_; // set once the box is sized to its text
};
