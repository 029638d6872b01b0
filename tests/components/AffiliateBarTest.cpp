#include "components/AffiliateBar.h"

#include "core/Game.h"
#include "object/ObjectScreen.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

bool same(SDL_FColor a, SDL_FColor b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

constexpr SDL_FColor kGreen = {0.0f, 1.0f, 0.0f, 1.0f};
constexpr SDL_FColor kOrange = {1.0f, 0.65f, 0.0f, 1.0f};
constexpr SDL_FColor kRed = {1.0f, 0.0f, 0.0f, 1.0f};

TEST(AffiliateBarTest, ColourChangesStrictlyAboveEachThreshold) {
    AffiliateBar* bar = AffiliateBar::addAffiliateBarChild(nullptr, {54.0f, 10.0f}, Anchor::BOTTOM_CENTER);
    EXPECT_EQ(bar->getOffset(), glm::vec2(-27.0f, -10.0f));
    const std::pair<float, SDL_FColor> cases[] = {{1.0f, kGreen},   {0.71f, kGreen}, {0.7f, kOrange},
                                                  {0.31f, kOrange}, {0.3f, kRed},    {0.0f, kRed}};
    for (const auto& [percent, color] : cases) {
        bar->setPercent(percent);
        EXPECT_TRUE(same(bar->getColor(), color)) << percent;
    }
    delete bar;
}

TEST(AffiliateBarTest, EmptyBarIsARedOutlineAndAFullOneAGreenBlock) {
    SDL_Renderer* renderer = Game::getInstance().getRenderer();
    SDL_RenderClear(renderer);
    ObjectScreen owner;
    owner.init();
    owner.setRenderPosition({100.0f, 100.0f});
    AffiliateBar* bar = AffiliateBar::addAffiliateBarChild(&owner, {60.0f, 10.0f}, Anchor::TOP_LEFT);
    bar->setPercent(0.0f);
    owner.render();
    const SDL_Color edge = readPixel(renderer, 100, 105);
    EXPECT_EQ(edge.r, 255);
    EXPECT_EQ(edge.g, 0);
    EXPECT_TRUE(isBlack(readPixel(renderer, 130, 105)));
    bar->setPercent(1.0f);
    owner.render();
    EXPECT_EQ(readPixel(renderer, 130, 105).g, 255);
    EXPECT_EQ(readPixel(renderer, 130, 105).r, 0);
    owner.clean();
}

} // namespace
