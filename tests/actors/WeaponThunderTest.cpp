#include "actors/WeaponThunder.h"

#include "components/Collider.h"
#include "components/Spell.h"
#include "components/Stats.h"
#include "core/SdlHandles.h"
#include "shell/Preferences.h"
#include "support/Arena.h"
#include "ui/HUDSkill.h"

namespace {

using WeaponThunderTest = ArenaTest;

TEST_F(WeaponThunderTest, FullPoolCastsAtTwoFourSixEightThenEveryFourSeconds) {
    std::vector<float> cast_times;
    std::vector<float> mana_after;
    for (int i = 1; i <= 60 * 20; ++i) {
        if (click()) {
            cast_times.push_back(static_cast<float>(i - 1) / 60.0f);
            mana_after.push_back(player->getStats()->getMana());
        }
        frame();
    }
    ASSERT_GE(cast_times.size(), 6u);
    const float expected[] = {2.0f, 4.0f, 6.0f, 8.0f};
    for (int k = 0; k < 4; ++k) {
        // Each cool-down ends on a frame boundary, so a cast may come up to a frame late, and that adds up.
        EXPECT_NEAR(cast_times[k], expected[k], 0.1f) << k;
        EXPECT_NEAR(mana_after[k], 60.0f - 20.0f * k, 0.5f) << k;
    }
    for (size_t k = 4; k < cast_times.size(); ++k)
        EXPECT_NEAR(cast_times[k] - cast_times[k - 1], 4.0f, 0.1f);
}

TEST_F(WeaponThunderTest, ClickDuringTheFirstCoolDownIsNotConsumed) {
    frames(119);
    EXPECT_FALSE(click());
    EXPECT_EQ(played(kGhostSound), 0);
    frames(2);
    EXPECT_TRUE(click());
    EXPECT_EQ(played(kGhostSound), 1);
}

TEST_F(WeaponThunderTest, CastingNeedsTheWholeCost) {
    frames(121);
    player->getStats()->useMana(61.0f);
    EXPECT_FALSE(click()); // 39 mana
    player->getStats()->regenMana(0.1f);
    EXPECT_TRUE(click()); // exactly 40
    EXPECT_EQ(player->getStats()->getMana(), 0.0f);
}

TEST_F(WeaponThunderTest, TwoClicksInOneFrameCastOnceAndOnlyTheLeftButtonCasts) {
    frames(300);
    EXPECT_FALSE(click(SDL_BUTTON_RIGHT));
    EXPECT_FALSE(click(SDL_BUTTON_MIDDLE));
    EXPECT_TRUE(click());
    EXPECT_FALSE(click());
    frame();
    EXPECT_EQ(worldOf<Spell>().size(), 1u);
}

TEST_F(WeaponThunderTest, StrikeLandsUnderTheCursorInTheWorld) {
    frames(121);
    player->setPosition({1640.0f, 860.0f}); // puts the camera at (1000, 500)
    frame();
    ASSERT_EQ(scene->getCameraPosition(), glm::vec2(1000.0f, 500.0f));
    game.setMouseState({640.0f, 360.0f}, 0);
    ASSERT_TRUE(click());
    EXPECT_TRUE(worldOf<Spell>().empty()); // joins at the scene's next update
    frame();
    const auto spells = worldOf<Spell>();
    ASSERT_EQ(spells.size(), 1u);
    EXPECT_EQ(spells[0]->getPosition(), glm::vec2(1640.0f, 860.0f));
    EXPECT_EQ(spells[0]->getCollider()->getSize().x, 192.0f); // a 64 px frame at scale 3
}

// Reduce flashes draws the strike see-through, through whichever copy of its picture the renderer takes.
TEST_F(WeaponThunderTest, ReducedFlashesDrawTheStrikeSeeThrough) {
    const auto litByStrike = [this](bool reduce) {
        game.getPreferences()->setReduceFlashes(reduce, false);
        for (Spell* spell : worldOf<Spell>())
            spell->setNeedRemove(true);
        frames(250); // cooled down, the last strike gone
        game.setMouseState({640.0f, 200.0f}, 0);
        EXPECT_TRUE(click());
        frames(8); // the bolt at its brightest
        SDL_Renderer* renderer = game.getRenderer();
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        scene->render();
        const SDL_Rect area = {560, 80, 160, 240};
        SurfacePtr shot(SDL_RenderReadPixels(renderer, &area));
        long light = 0;
        for (int y = 0; shot && y < shot->h; ++y) {
            for (int x = 0; x < shot->w; ++x) {
                SDL_Color c{};
                SDL_ReadSurfacePixel(shot.get(), x, y, &c.r, &c.g, &c.b, &c.a);
                light += c.r + c.g + c.b;
            }
        }
        return light;
    };
    const long full = litByStrike(false);
    const long soft = litByStrike(true);
    game.getPreferences()->setReduceFlashes(false, false);
    EXPECT_GT(full, 100000);
    EXPECT_LT(soft, full / 2) << "the bolt's light at 35 % opacity";
}

TEST_F(WeaponThunderTest, SkillIconShowsTheCoolDownFilling) {
    HUDSkill* icon = player->getWeapon()->getHudSkill();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->getRenderPosition(), glm::vec2(980.0f, 30.0f));
    frames(150);
    EXPECT_EQ(icon->getPercent(), 1.0f);
    ASSERT_TRUE(click());
    frame();
    EXPECT_NEAR(icon->getPercent(), 1.0f / 120.0f, 1e-4f);
    frames(60);
    EXPECT_NEAR(icon->getPercent(), 0.5f + 1.0f / 120.0f, 1e-3f);
}

} // namespace
