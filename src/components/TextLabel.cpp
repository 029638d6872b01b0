#include "components/TextLabel.h"

#include "assets/AssetStore.h"
#include "core/Game.h"
#include "object/ObjectScreen.h"

TextLabel* TextLabel::addTextLabelChild(ObjectScreen* parent, const std::string& text,
                                        const std::string& font_path, int font_size, Anchor anchor) {
    auto* label = new TextLabel;
    label->init();
    label->setFont(font_path, font_size);
    label->setText(text);
    label->setAnchor(anchor);
    label->updateSize();
    if (parent) {
        parent->addChild(label);
        label->setParent(parent);
    }
    return label;
}

void TextLabel::render() {
    Object::render();
    followTextSize();
    TTF_DrawRendererText(ttf_text_, getScreenPosition().x, getScreenPosition().y);
}

bool TextLabel::followTextSize() {
    if (game_.textSize(font_size_) == drawn_size_) return false;
    applyFont();
    return true;
}

void TextLabel::clean() {
    Object::clean();
    if (ttf_text_) TTF_DestroyText(ttf_text_);
    ttf_text_ = nullptr;
}

void TextLabel::setFont(const std::string& font_path, int font_size) {
    font_path_ = font_path;
    font_size_ = font_size;
    if (!ttf_text_) ttf_text_ = game_.createTTF_Text("", font_path_, game_.textSize(font_size_));
    applyFont();
}

void TextLabel::setFontPath(const std::string& font_path) {
    font_path_ = font_path;
    applyFont();
}

void TextLabel::setFontSize(int font_size) {
    font_size_ = font_size;
    applyFont();
}

void TextLabel::setText(const std::string& text) {
    TTF_SetTextString(ttf_text_, text.c_str(), text.size());
    updateSize();
}

void TextLabel::updateSize() {
    int w = 0;
    int h = 0;
    TTF_GetTextSize(ttf_text_, &w, &h);
    setSize(glm::vec2(w, h));
}

std::string TextLabel::getText() const {
    return ttf_text_ && ttf_text_->text ? ttf_text_->text : "";
}

void TextLabel::applyFont() {
    drawn_size_ = game_.textSize(font_size_);
    TTF_SetTextFont(ttf_text_, game_.getAssetStore()->getFont(font_path_, drawn_size_));
    updateSize();
}
