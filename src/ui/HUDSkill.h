#pragma once
#include "object/Anchor.h"
#include "object/ObjectScreen.h"

#include <string>

class Sprite;

// The spell's icon: dark in full, bright over its lower part as the spell recharges.
class HUDSkill : public ObjectScreen {
public:
    static HUDSkill* addHUDSkillChild(Object* parent, const std::string& file_path, glm::vec2 position,
                                      float scale, Anchor anchor);
    void render() override;

    // Clamped into 0..1.
    void setPercent(float percent);
    float getPercent() const { return percent_; }

private:
    Sprite* icon_ = nullptr; // a child: owned through the children list
    float percent_ = 1.0f;
};
