#pragma once
#include "components/Texture.h"
#include "object/ObjectAffiliate.h"

#include <string>

// Draws one image region at its parent's screen position plus its offset.
class Sprite : public ObjectAffiliate {
public:
    static Sprite* addSpriteChild(ObjectScreen* parent, const std::string& file_path, float scale,
                                  Anchor anchor);
    void render() override;
    // Takes the record's region as the sprite's size; the offset stays where it was.
    virtual void setTexture(const Texture& texture);
    // A picture of the same size in place of the current one, the size and region kept.
    void setImage(SDL_Texture* texture) { texture_.texture = texture; }

    // Grows right and down from the current offset; re-anchor afterwards to keep the anchor point.
    void setScale(float scale) { size_ *= scale; }
    Texture getTexture() const { return texture_; }
    void setFlip(bool is_flip) { texture_.is_flip = is_flip; }
    void setAlpha(float alpha) { texture_.alpha = alpha; }
    void setPercent(glm::vec2 percent) { percent_ = percent; }
    bool getFinish() const { return is_finish_; }

protected:
    // Shared by the factories of every sprite kind: the order decides the offset.
    static void attach(Sprite* sprite, ObjectScreen* parent, const std::string& file_path, float scale,
                       Anchor anchor);

    Texture texture_;
    bool is_finish_ = false;
    glm::vec2 percent_ = glm::vec2(1.0f);
};
