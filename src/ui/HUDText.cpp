#include "ui/HUDText.h"

#include "components/Sprite.h"
#include "components/TextLabel.h"

HUDText* HUDText::addHUDTextChild(Object* parent, const std::string& text, glm::vec2 position, glm::vec2 size,
                                  const std::string& font_path, int font_size, const std::string& bg_path,
                                  Anchor anchor) {
    auto* box = new HUDText;
    box->init();
    box->setRenderPosition(position);
    // The background first, so the text is drawn over it.
    box->sprite_bg_ = Sprite::addSpriteChild(box, bg_path, 1.0f, anchor);
    box->setSize(size);
    box->text_label_ = TextLabel::addTextLabelChild(box, text, font_path, font_size, anchor);
    if (parent) parent->addChild(box);
    return box;
}

void HUDText::setText(const std::string& text) {
    text_label_->setText(text);
}

void HUDText::setSize(glm::vec2 size) {
    size_ = size;
    sprite_bg_->setSize(size);
}

void HUDText::setBgSizeByText(float margin) {
    fit_margin_ = margin;
    setSize(text_label_->getSize() + glm::vec2(margin));
}

void HUDText::render() {
    // Before the background is drawn: a box sized to its text grows and shrinks with the text size.
    if (text_label_->followTextSize() && fit_margin_) setBgSizeByText(*fit_margin_);
    ObjectScreen::render();
}
