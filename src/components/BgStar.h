#pragma once
#include "object/Object.h"

#include <glm/glm.hpp>

#include <vector>

// Three layers of stars behind the world that scroll at fractions of the camera's movement.
class BgStar : public Object {
public:
    static BgStar* addBgStarChild(Object* parent, int num, float scale_far, float scale_mid,
                                  float scale_near);
    void update(float dt) override;
    void render() override;

    const std::vector<glm::vec2>& getStarsFar() const { return star_far_; }
    const std::vector<glm::vec2>& getStarsMid() const { return star_mid_; }
    const std::vector<glm::vec2>& getStarsNear() const { return star_near_; }
    SDL_FColor getColorFar() const { return color_far_; }
    SDL_FColor getColorMid() const { return color_mid_; }
    SDL_FColor getColorNear() const { return color_near_; }

private:
    std::vector<glm::vec2> star_far_;
    std::vector<glm::vec2> star_mid_;
    std::vector<glm::vec2> star_near_;
    float scale_far_ = 0.2f;
    float scale_mid_ = 0.5f;
    float scale_near_ = 0.7f;
    SDL_FColor color_far_ = {0.0f, 0.0f, 0.0f, 1.0f};
    SDL_FColor color_mid_ = {0.0f, 0.0f, 0.0f, 1.0f};
    SDL_FColor color_near_ = {0.0f, 0.0f, 0.0f, 1.0f};
    float timer_ = 0.0f;
    int num_ = 2000;
};
