#include "components/BgStar.h"

#include "core/Game.h"
#include "object/Scene.h"

#include <cmath>

BgStar* BgStar::addBgStarChild(Object* parent, int num, float scale_far, float scale_mid, float scale_near) {
    auto* stars = new BgStar;
    stars->init();
    stars->num_ = num;
    stars->scale_far_ = scale_far;
    stars->scale_mid_ = scale_mid;
    stars->scale_near_ = scale_near;
    const auto count = static_cast<size_t>(num);
    stars->star_far_.reserve(count);
    stars->star_mid_.reserve(count);
    stars->star_near_.reserve(count);
    Game& game = Game::getInstance();
    const glm::vec2 screen = game.getScreenSize();
    // Each layer is scattered over exactly the area it scrolls across as the camera crosses the world.
    const glm::vec2 extra = game.getCurrentScene()->getWorldSize() - screen;
    Random& random = game.getCosmeticRandom();
    for (int i = 0; i < num; ++i) {
        stars->star_far_.push_back(random.uniform(glm::vec2(0.0f), screen + extra * scale_far));
        stars->star_mid_.push_back(random.uniform(glm::vec2(0.0f), screen + extra * scale_mid));
        stars->star_near_.push_back(random.uniform(glm::vec2(0.0f), screen + extra * scale_near));
    }
    if (parent) parent->addChild(stars);
    return stars;
}

void BgStar::update(float dt) {
    timer_ += dt;
    const float t = timer_;
    auto wave = [t](float k) { return 0.5f + 0.5f * std::sin(k * t); };
    color_far_ = {wave(0.9f), wave(0.8f), wave(0.7f), 1.0f};
    color_mid_ = {wave(0.8f), wave(0.7f), wave(0.6f), 1.0f};
    color_near_ = {wave(0.7f), wave(0.6f), wave(0.5f), 1.0f};
}

void BgStar::render() {
    const glm::vec2 camera = game_.getCurrentScene()->getCameraPosition();
    game_.drawPoints(star_far_, -camera * scale_far_, color_far_);
    game_.drawPoints(star_mid_, -camera * scale_mid_, color_mid_);
    game_.drawPoints(star_near_, -camera * scale_near_, color_near_);
}
