#include "components/Stats.h"

#include "actors/Actor.h"
#include "components/Timer.h"

#include <gtest/gtest.h>

namespace {

struct StatsTest : ::testing::Test {
    void TearDown() override { actor.clean(); }
    void wait(float seconds) {
        for (float t = 0.0f; t < seconds - 1e-4f; t += 0.1f)
            stats->update(0.1f);
    }
    Actor actor;
    Stats* stats = Stats::addStatsChild(&actor, 100.0f, 100.0f, 40.0f, 10.0f);
};

TEST_F(StatsTest, ThreeSpacedHitsOfFortyKill) {
    stats->takeDamage(40.0f);
    EXPECT_EQ(stats->getHealth(), 60.0f);
    wait(1.5f);
    stats->takeDamage(40.0f);
    EXPECT_EQ(stats->getHealth(), 20.0f);
    wait(1.5f);
    EXPECT_TRUE(stats->getIsAlive());
    stats->takeDamage(40.0f);
    EXPECT_EQ(stats->getHealth(), 0.0f);
    EXPECT_FALSE(stats->getIsAlive());
    EXPECT_TRUE(stats->getInvincible()); // also after the killing hit
}

TEST_F(StatsTest, ExactlyZeroHealthIsStillAlive) {
    stats->takeDamage(50.0f);
    wait(1.5f);
    stats->takeDamage(50.0f);
    EXPECT_EQ(stats->getHealth(), 0.0f);
    EXPECT_TRUE(stats->getIsAlive());
    wait(1.5f);
    stats->takeDamage(0.5f);
    EXPECT_FALSE(stats->getIsAlive());
}

TEST_F(StatsTest, HitDuringInvincibilityChangesNothing) {
    stats->takeDamage(40.0f);
    wait(1.0f);
    stats->takeDamage(40.0f);
    EXPECT_EQ(stats->getHealth(), 60.0f);
    wait(0.5f); // the countdown was not restarted: 1.5 s after the first hit it is over
    EXPECT_FALSE(stats->getInvincible());
    stats->takeDamage(40.0f);
    EXPECT_EQ(stats->getHealth(), 20.0f);
}

TEST_F(StatsTest, ManaStaysBetweenZeroAndItsMaximum) {
    stats->useMana(5.0f);
    stats->update(1.0f);
    EXPECT_EQ(stats->getMana(), 100.0f);
    stats->useMana(70.0f);
    EXPECT_TRUE(stats->canUseMana(30.0f));
    EXPECT_FALSE(stats->canUseMana(30.5f));
    stats->useMana(40.0f);
    EXPECT_EQ(stats->getMana(), 0.0f);
    stats->regenMana(0.5f);
    EXPECT_EQ(stats->getMana(), 5.0f);
}

TEST(TimerTest, StoppedAtCreationThenReportsEachIntervalOnce) {
    Object owner;
    Timer* timer = Timer::addTimerChild(&owner, 3.0f);
    for (int i = 0; i < 600; ++i)
        owner.update(1.0f / 60.0f);
    EXPECT_FALSE(timer->timeOut());
    timer->start();
    int reports = 0;
    int first = -1;
    for (int i = 0; i < 200; ++i) {
        owner.update(1.0f / 60.0f);
        if (timer->timeOut()) {
            ++reports;
            if (first < 0) first = i;
        }
    }
    EXPECT_EQ(reports, 1);
    EXPECT_NEAR(first, 180, 1);
    owner.clean();
}

TEST(TimerTest, ProgressRisesAndALongFrameFlagsOnce) {
    Timer* timer = Timer::addTimerChild(nullptr, 0.4f);
    timer->start();
    EXPECT_EQ(timer->getProgress(), 0.0f);
    timer->update(0.1f);
    EXPECT_FLOAT_EQ(timer->getProgress(), 0.25f);
    timer->update(0.35f);
    EXPECT_EQ(timer->getProgress(), 0.0f); // surplus dropped
    timer->update(5.0f);
    EXPECT_TRUE(timer->timeOut());
    EXPECT_FALSE(timer->timeOut());
    timer->stop();
    timer->update(0.1f); // called directly: stop only keeps the parent from updating it
    EXPECT_FLOAT_EQ(timer->getProgress(), 0.25f);
    delete timer;
}

} // namespace
