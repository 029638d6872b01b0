#pragma once
#include "object/ObjectScreen.h"

#include <string>

class HUDText;

// The words over a game that stands still (paused, over, or a replay played to its end): a heading and
// lines under it, over the world dimmed so that they read at once.
class PausePanel : public ObjectScreen {
public:
    static PausePanel* addPausePanelChild(Object* parent);
    void render() override;

    // Shown with these words; the same words again cost nothing.
    void show(const std::string& heading, const std::string& lines);
    void hide() { setActive(false); }
    const std::string& getHeading() const { return heading_words_; }
    const std::string& getLines() const { return lines_words_; }

private:
    // Children, owned through the children list.
    HUDText* heading_ = nullptr;
    HUDText* lines_ = nullptr;
    std::string heading_words_;
    std::string lines_words_;
};
