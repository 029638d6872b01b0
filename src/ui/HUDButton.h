#pragma once
#include "i18n/Translation.h"
#include "object/Anchor.h"
#include "object/ObjectScreen.h"

#include <array>
#include <optional>
#include <string>

class Sprite;

// A push button of three images (normal, hover, pressed) that reports each completed click once.
class HUDButton : public ObjectScreen {
public:
    static HUDButton* addHUDButtonChild(Object* parent, glm::vec2 position, const std::string& normal_path,
                                        const std::string& hover_path, const std::string& press_path,
                                        float scale, Anchor anchor);
    bool handleEvents(SDL_Event& event) override;
    void update(float dt) override;
    void render() override;

    // The words on the three pictures, drawn in the language on screen and again when it changes.
    void setLabel(Message label);

    // Test-and-clear; also forgets hover and press, so a button still under the cursor is entered anew.
    bool isTrigger();
    // The pad's highlight: shown and heard as hover, whatever the cursor does.
    void setHighlight(bool highlight) { is_highlight_ = highlight; }
    bool getIsHighlight() const { return is_highlight_; }
    // A whole click from the pad: the press sound, then one trigger.
    void press();
    // Grows right and down from the current top-left corner, hit area included, by scale times.
    void setScale(float scale);
    // At that scale, centred on centre.
    void placeCentre(glm::vec2 centre, float scale);
    bool getIsHover() const { return is_hover_; }
    glm::vec2 getCentre() const;
    Sprite* getSpriteNormal() const { return sprite_normal_; }
    Sprite* getSpriteHover() const { return sprite_hover_; }
    Sprite* getSpritePress() const { return sprite_press_; }

private:
    bool isUnderCursor() const;
    void checkHover();
    void checkState();
    void drawLabel();

    // Children, owned through the children list; the normal image's box is the hit area.
    Sprite* sprite_normal_ = nullptr;
    Sprite* sprite_hover_ = nullptr;
    Sprite* sprite_press_ = nullptr;
    std::array<std::string, 3> plate_paths_; // normal, hover, pressed
    std::optional<Message> label_;
    LanguageWatch label_language_;
    float scale_ = 1.0f; // of the plates' own size
    bool is_hover_ = false;
    bool is_mouse_over_ = false;
    bool is_press_ = false;
    bool is_trigger_ = false;
    bool is_highlight_ = false;
};
