#include "components/SpriteAnim.h"

#include <cmath>

SpriteAnim* SpriteAnim::addSpriteAnimChild(ObjectScreen* parent, const std::string& file_path, float scale,
                                           Anchor anchor) {
    auto* sprite = new SpriteAnim;
    attach(sprite, parent, file_path, scale, anchor);
    return sprite;
}

void SpriteAnim::update(float dt) {
    if (is_finish_) return;
    frame_timer_ += dt;
    if (frame_timer_ >= 1.0f / static_cast<float>(fps_)) {
        ++current_frame_;
        if (current_frame_ >= total_frames_) {
            current_frame_ = 0;
            if (!is_loop_) is_finish_ = true;
        }
        frame_timer_ = 0.0f; // the surplus is dropped: one frame per update at most
    }
    texture_.src_rect.x = texture_.src_rect.w * static_cast<float>(current_frame_);
}

void SpriteAnim::setTexture(const Texture& texture) {
    texture_ = texture;
    const float width = texture.src_rect.w;
    const float height = texture.src_rect.h;
    // A sheet that failed to load is 0 x 0; one frame keeps every index in range (it is never drawn).
    total_frames_ = height > 0.0f ? std::max(1, static_cast<int>(std::round(width / height))) : 1;
    texture_.src_rect.w = height;
    size_ = glm::vec2(height, height);
}
