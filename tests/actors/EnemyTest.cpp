#include "actors/Enemy.h"

#include "components/AffiliateBar.h"
#include "components/Spell.h"
#include "components/SpriteAnim.h"
#include "components/Stats.h"
#include "support/Arena.h"

#include <cmath>

namespace {

struct EnemyTest : ArenaTest {
    Enemy* enemyAt(glm::vec2 position) { return Enemy::addEnemyChild(scene, position, player); }
    Spell* strikeAt(glm::vec2 position) {
        return Spell::addSpellChild(scene, "assets/effect/Thunderstrike w blur.png", position, 40.0f, 3.0f,
                                    Anchor::CENTER);
    }
    glm::vec2 far() const { return player->getPosition() + glm::vec2(600.0f, 0.0f); }
};

TEST_F(EnemyTest, StandingOnThePlayerDoesNotTurnIntoNaN) {
    Enemy* enemy = enemyAt(player->getPosition());
    frame();
    EXPECT_EQ(enemy->getVelocity(), glm::vec2(0.0f));
    EXPECT_FALSE(std::isnan(enemy->getPosition().x) || std::isnan(enemy->getPosition().y));
    player->setPosition(player->getPosition() + glm::vec2(0.0f, 300.0f));
    frame();
    EXPECT_NEAR(enemy->getVelocity().y, 100.0f, 1e-3f); // and it gives chase again
}

TEST_F(EnemyTest, FliesStraightAtThePlayerAtAHundredPixelsASecond) {
    Enemy* enemy = enemyAt(player->getPosition() + glm::vec2(-300.0f, -400.0f));
    frame();
    EXPECT_NEAR(enemy->getVelocity().x, 60.0f, 1e-3f);
    EXPECT_NEAR(enemy->getVelocity().y, 80.0f, 1e-3f);
}

TEST_F(EnemyTest, StrikeHurtsOncePerInvincibilityAndTheSecondKills) {
    Enemy* enemy = enemyAt(far());
    EXPECT_EQ(enemy->getHealthBar()->getPercent(), 1.0f);
    strikeAt(far());
    frame();
    EXPECT_EQ(enemy->getStats()->getHealth(), 10.0f);
    frame(); // the strike comes after the enemy in the world list: its look changes a frame later
    EXPECT_EQ(enemy->getState(), Enemy::State::HURT);
    frames(40); // the whole strike, still inside it
    EXPECT_EQ(enemy->getStats()->getHealth(), 10.0f);
    EXPECT_FLOAT_EQ(enemy->getHealthBar()->getPercent(), 0.2f);
    frames(60);
    EXPECT_EQ(enemy->getState(), Enemy::State::NORMAL);
    EXPECT_EQ(game.getScore(), 0);
    strikeAt(enemy->getPosition());
    frames(2);
    EXPECT_EQ(enemy->getState(), Enemy::State::DIE);
    EXPECT_EQ(game.getScore(), 10);
    int frames_to_removal = 0;
    while (!worldOf<Enemy>().empty() && frames_to_removal < 200) {
        frame();
        ++frames_to_removal;
    }
    EXPECT_EQ(game.getScore(), 10);        // once
    EXPECT_NEAR(frames_to_removal, 48, 8); // eight frames of dying at 10 fps
}

TEST_F(EnemyTest, SpellsHurtOnlyEnemies) {
    strikeAt(player->getPosition());
    frame();
    EXPECT_EQ(player->getStats()->getHealth(), 100.0f);
}

TEST_F(EnemyTest, ManyEnemiesTouchingCostOneHitPerInvincibility) {
    for (int i = 0; i < 10; ++i)
        enemyAt(player->getPosition() + glm::vec2(i * 3.0f, 0.0f));
    frame();
    EXPECT_EQ(player->getStats()->getHealth(), 60.0f);
    EXPECT_EQ(played(kHitSound), 1);
    frames(60);
    EXPECT_EQ(player->getStats()->getHealth(), 60.0f);
    frames(40);
    EXPECT_EQ(player->getStats()->getHealth(), 20.0f);
    EXPECT_EQ(played(kHitSound), 2);
}

TEST_F(EnemyTest, DyingEnemyStillHurtsThePlayer) {
    Enemy* enemy = enemyAt(player->getPosition() + glm::vec2(20.0f, 0.0f));
    enemy->getStats()->takeDamage(60.0f);
    player->getStats()->setInvincibleTime(0.0f); // every touch counts
    frame();
    ASSERT_EQ(enemy->getState(), Enemy::State::DIE);
    EXPECT_LT(player->getStats()->getHealth(), 100.0f);
}

TEST_F(EnemyTest, DeadPlayerFreezesEnemiesButTheyStillChangeStateAndDie) {
    Enemy* hurt = enemyAt(far());
    Enemy* dying = enemyAt(far() + glm::vec2(0.0f, 300.0f));
    hurt->getStats()->takeDamage(10.0f);
    dying->getStats()->takeDamage(60.0f);
    player->takeDamage(150.0f);
    frame(); // the player dies
    ASSERT_FALSE(player->getIsActive());
    const glm::vec2 where = hurt->getPosition();
    frames(100);
    EXPECT_EQ(hurt->getPosition(), where);
    EXPECT_EQ(hurt->getState(), Enemy::State::NORMAL);
    EXPECT_EQ(worldOf<Enemy>(), std::vector<Enemy*>{hurt});
}

} // namespace
