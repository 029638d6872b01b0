#pragma once
#include "object/Anchor.h"
#include "object/ObjectWorld.h"

#include <string>

class SpriteAnim;

// Plays one animation at a world position, then removes itself and hands its follow-up to the scene.
class Effect : public ObjectWorld {
public:
    static Effect* addEffectChild(Object* parent, const std::string& file_path, glm::vec2 position,
                                  float scale, ObjectWorld* next_object = nullptr);
    ~Effect() override;
    void update(float dt) override;
    void clean() override;
    long countOwned() const override;

    void setNextObject(ObjectWorld* next_object) { next_object_ = next_object; }
    SpriteAnim* getSprite() const { return sprite_; }

private:
    void checkFinish();
    void dropNextObject();

    SpriteAnim* sprite_ = nullptr;       // a child: owned through the children list
    ObjectWorld* next_object_ = nullptr; // ours until handed to the scene
};
