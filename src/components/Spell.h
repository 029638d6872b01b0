#pragma once
#include "object/Anchor.h"
#include "object/ObjectWorld.h"

#include <string>

class SpriteAnim;

// An area animation that hurts every enemy it overlaps, on every update until it has played.
class Spell : public ObjectWorld {
public:
    static Spell* addSpellChild(Object* parent, const std::string& file_path, glm::vec2 position,
                                float damage, float scale, Anchor anchor);
    void update(float dt) override;

    void attack();
    SpriteAnim* getSprite() const { return sprite_; }

private:
    SpriteAnim* sprite_ = nullptr; // a child: owned through the children list
    float damage_ = 60.0f;
};
