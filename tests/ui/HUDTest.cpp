#include "components/Sprite.h"
#include "components/Stats.h"
#include "support/Arena.h"
#include "support/TestFiles.h"
#include "ui/HUDSkill.h"
#include "ui/HUDStats.h"

namespace {

using HUDTest = ArenaTest;

TEST_F(HUDTest, BarsFollowHealthAndMana) {
    HUDStats* hud = HUDStats::addHUDStatsChild(scene, player, {30.0f, 30.0f});
    frame();
    EXPECT_EQ(hud->getHealthBar()->getSize(), glm::vec2(240.0f, 24.0f));
    EXPECT_EQ(hud->getHealthBar()->getOffset(), glm::vec2(30.0f, -12.0f));
    player->takeDamage(40.0f);
    player->getStats()->useMana(75.0f);
    frame();
    SDL_Renderer* renderer = game.getRenderer();
    SDL_RenderClear(renderer);
    hud->render();
    // Health 60 %: the red bar ends 60 % along its 240 px; mana 25 % (plus a frame of regeneration).
    EXPECT_GT(readPixel(renderer, 60 + 130, 30).r, 150);
    EXPECT_LT(readPixel(renderer, 60 + 160, 30).r, 100);
    EXPECT_GT(readPixel(renderer, 330 + 50, 30).b, 150);
    EXPECT_LT(readPixel(renderer, 330 + 70, 30).b, 100);
}

TEST_F(HUDTest, SkillIconClampsAndBrightensFromTheBottom) {
    HUDSkill* skill = HUDSkill::addHUDSkillChild(nullptr, "assets/UI/Electric-Icon.png", {200.0f, 200.0f},
                                                 0.14f, Anchor::CENTER);
    skill->setPercent(-0.5f);
    EXPECT_EQ(skill->getPercent(), 0.0f);
    skill->setPercent(1.7f);
    EXPECT_EQ(skill->getPercent(), 1.0f);
    SDL_Renderer* renderer = game.getRenderer();
    auto brightness = [&](int y) {
        const SDL_Color c = readPixel(renderer, 200, y);
        return c.r + c.g + c.b;
    };
    skill->setPercent(0.25f);
    SDL_RenderClear(renderer);
    skill->render();
    // The icon is 56 px high around y = 200: its lower quarter is bright, the rest dark.
    const int top = brightness(180);
    const int bottom = brightness(222);
    skill->setPercent(1.0f);
    SDL_RenderClear(renderer);
    skill->render();
    EXPECT_LT(top * 2, brightness(180));
    EXPECT_EQ(bottom, brightness(222));
    skill->clean();
    delete skill;
}

} // namespace
