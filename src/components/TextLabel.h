#pragma once
#include "object/ObjectAffiliate.h"

#include <SDL3_ttf/SDL_ttf.h>

#include <string>

// One line of text that sizes itself to what it shows, so its anchor places it right.
class TextLabel : public ObjectAffiliate {
public:
    static TextLabel* addTextLabelChild(ObjectScreen* parent, const std::string& text,
                                        const std::string& font_path, int font_size, Anchor anchor);
    void render() override;
    void clean() override;

    void setFont(const std::string& font_path, int font_size);
    void setFontPath(const std::string& font_path);
    void setFontSize(int font_size);
    void setText(const std::string& text);
    void updateSize();
    // Takes the player's text size when it changed; true if it did.
    bool followTextSize();
    std::string getText() const;
    TTF_Text* getTtfText() const { return ttf_text_; }

private:
    void applyFont();

    TTF_Text* ttf_text_ = nullptr; // ours: destroyed in clean
    std::string font_path_;
    int font_size_ = 16;
    int drawn_size_ = 0; // font_size_ as the text size makes it
};
