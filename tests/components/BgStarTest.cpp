#include "components/BgStar.h"

#include "support/Arena.h"
#include "support/TestFiles.h"

#include <cmath>

namespace {

using BgStarTest = ArenaTest;

TEST_F(BgStarTest, EachLayerIsScatteredOverTheAreaItScrollsAcross) {
    BgStar* stars = BgStar::addBgStarChild(scene, 2000, 0.2f, 0.5f, 0.7f);
    const std::pair<const std::vector<glm::vec2>*, float> layers[] = {
        {&stars->getStarsFar(), 0.2f}, {&stars->getStarsMid(), 0.5f}, {&stars->getStarsNear(), 0.7f}};
    for (const auto& [layer, factor] : layers) {
        ASSERT_EQ(layer->size(), 2000u);
        const glm::vec2 limit = glm::vec2(1280.0f, 720.0f) + glm::vec2(2560.0f, 1440.0f) * factor;
        glm::vec2 most(0.0f);
        for (glm::vec2 p : *layer) {
            EXPECT_TRUE(p.x >= 0.0f && p.x < limit.x && p.y >= 0.0f && p.y < limit.y);
            most = glm::max(most, p);
        }
        EXPECT_GT(most.x, limit.x * 0.95f); // really spread over the whole range
        EXPECT_GT(most.y, limit.y * 0.95f);
    }
}

TEST_F(BgStarTest, ColoursStartBlackAndCycleFromMidGrey) {
    BgStar* stars = BgStar::addBgStarChild(nullptr, 0, 0.2f, 0.5f, 0.7f);
    EXPECT_EQ(stars->getColorFar().r + stars->getColorMid().g + stars->getColorNear().b, 0.0f);
    EXPECT_EQ(stars->getColorNear().a, 1.0f);
    stars->update(1.0f / 60.0f);
    EXPECT_NEAR(stars->getColorFar().r, 0.5f, 0.01f);
    EXPECT_NEAR(stars->getColorNear().b, 0.5f, 0.01f);
    stars->update(2.0f);
    EXPECT_NEAR(stars->getColorFar().r, 0.5f + 0.5f * std::sin(0.9f * (2.0f + 1.0f / 60.0f)), 1e-5f);
    EXPECT_NE(stars->getColorFar().r, stars->getColorNear().r); // the layers drift apart
    stars->render();                                            // no stars: draws nothing, and that is fine
    delete stars;
}

TEST_F(BgStarTest, NearerLayersScrollFurtherWithTheCamera) {
    BgStar* stars = BgStar::addBgStarChild(scene, 1, 0.2f, 0.5f, 0.7f);
    stars->update(1.0f); // a visible colour
    SDL_Renderer* renderer = game.getRenderer();
    auto litAt = [&](glm::vec2 star, glm::vec2 camera, float factor) {
        scene->setCameraPosition(camera);
        EXPECT_EQ(scene->getCameraPosition(), camera);
        SDL_RenderClear(renderer);
        stars->render();
        const glm::vec2 p = star - camera * factor;
        return countLit(renderer, {static_cast<int>(p.x) - 1, static_cast<int>(p.y) - 1, 3, 3}) > 0;
    };
    const std::pair<glm::vec2, float> layers[] = {
        {stars->getStarsFar()[0], 0.2f}, {stars->getStarsMid()[0], 0.5f}, {stars->getStarsNear()[0], 0.7f}};
    int checked = 0;
    for (const auto& [star, factor] : layers) {
        // A camera that puts the star near the middle of the screen, inside the camera's range.
        const glm::vec2 camera = glm::clamp((star - glm::vec2(600.0f, 300.0f)) / factor, glm::vec2(0.0f),
                                            glm::vec2(2400.0f, 1400.0f));
        if (star.x - camera.x * factor < 80.0f || star.y - camera.y * factor < 10.0f) continue; // off screen
        EXPECT_TRUE(litAt(star, camera, factor)) << factor;
        EXPECT_TRUE(litAt(star, camera + glm::vec2(100.0f, 0.0f), factor)) << factor; // 20, 50 or 70 px left
        ++checked;
    }
    EXPECT_GE(checked, 2);
}

} // namespace
