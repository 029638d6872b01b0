#pragma once
#include "components/Sprite.h"

// Plays a horizontal strip of square frames, looping or once.
class SpriteAnim : public Sprite {
public:
    static SpriteAnim* addSpriteAnimChild(ObjectScreen* parent, const std::string& file_path, float scale,
                                          Anchor anchor);
    // Advances at most one frame per call, whatever dt is.
    void update(float dt) override;
    // The size becomes one frame; frame and timer carry on, so a sibling can take over mid-animation.
    void setTexture(const Texture& texture) override;

    int getCurrentFrame() const { return current_frame_; }
    void setCurrentFrame(int frame) { current_frame_ = frame; }
    int getTotalFrames() const { return total_frames_; }
    float getFrameTimer() const { return frame_timer_; }
    void setFrameTimer(float timer) { frame_timer_ = timer; }
    void setLoop(bool is_loop) { is_loop_ = is_loop; }

private:
    int current_frame_ = 0;
    int total_frames_ = 0;
    int fps_ = 10;
    float frame_timer_ = 0.0f;
    bool is_loop_ = true;
};
