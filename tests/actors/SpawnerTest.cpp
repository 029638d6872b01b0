#include "actors/Spawner.h"

#include "actors/Enemy.h"
#include "components/Effect.h"
#include "support/Arena.h"

namespace {

struct SpawnerTest : ArenaTest {
    void SetUp() override {
        ArenaTest::SetUp();
        spawner = new Spawner;
        spawner->init();
        spawner->setTarget(player);
        scene->addChild(spawner);
    }
    Spawner* spawner = nullptr;
};

TEST_F(SpawnerTest, FirstWaveComesWhenTheTimerReachesExactlyThreeSeconds) {
    frames(5, 0.5f);
    EXPECT_TRUE(worldOf<Effect>().empty());
    frame(0.5f);
    EXPECT_EQ(worldOf<Effect>().size(), 20u);
    EXPECT_EQ(played(kGhostSound), 1);
}

TEST_F(SpawnerTest, WaveOfTwentyInsideTheVisibleArea) {
    frames(181);
    const auto effects = worldOf<Effect>();
    ASSERT_EQ(effects.size(), 20u);
    const glm::vec2 camera = scene->getCameraPosition();
    for (Effect* effect : effects) {
        const glm::vec2 p = effect->getPosition();
        EXPECT_TRUE(p.x >= camera.x && p.x <= camera.x + 1280.0f && p.y >= camera.y &&
                    p.y <= camera.y + 720.0f);
    }
    frames(70); // the summoning circles finish and the enemies step out
    const auto enemies = worldOf<Enemy>();
    EXPECT_EQ(enemies.size(), 20u);
    EXPECT_TRUE(worldOf<Effect>().empty());
    EXPECT_EQ(played(kGhostSound), 1);
}

TEST_F(SpawnerTest, NoWaveAfterThePlayerDiesButWaitingEnemiesStillEnter) {
    frames(181);
    player->takeDamage(150.0f);
    frame();
    ASSERT_FALSE(player->getIsActive());
    frames(600);
    EXPECT_EQ(worldOf<Enemy>().size(), 20u);
    EXPECT_EQ(played(kGhostSound), 1);
}

} // namespace
