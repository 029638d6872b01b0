#pragma once
#include "object/Anchor.h"
#include "object/ObjectScreen.h"

#include <string>

class Sprite;

// The cursor the game draws itself, alternating between two images on a 0.6 s cycle.
class UIMouse : public ObjectScreen {
public:
    static UIMouse* addUIMouseChild(Object* parent, const std::string& path1, const std::string& path2,
                                    float scale, Anchor anchor);
    void update(float dt) override;

    Sprite* getSprite1() const { return sprite1_; }
    Sprite* getSprite2() const { return sprite2_; }

private:
    // Children, owned through the children list.
    Sprite* sprite1_ = nullptr;
    Sprite* sprite2_ = nullptr;
    float timer_ = 0.0f;
};
