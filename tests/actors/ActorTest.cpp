#include "actors/Actor.h"

#include "components/AffiliateBar.h"
#include "components/Stats.h"
#include "support/Probe.h"

#include <gtest/gtest.h>

namespace {

// An actor with the parts a subclass would give it.
class Dummy : public Actor {
public:
    void give(bool with_stats, bool with_bar) {
        if (with_stats) stats_ = Stats::addStatsChild(this, 50.0f, 100.0f, 40.0f, 10.0f);
        if (with_bar) health_bar_ = AffiliateBar::addAffiliateBarChild(this, {50.0f, 10.0f}, Anchor::CENTER);
    }
    AffiliateBar* bar() const { return health_bar_; }
};

struct ActorTest : ::testing::Test {
    void SetUp() override {
        installWorldScene();
        actor.init();
    }
    void TearDown() override { actor.clean(); }
    Dummy actor;
};

TEST_F(ActorTest, MoveStopsExactlyAtTheWorldEdges) {
    actor.setPosition({3.0f, 100.0f});
    actor.setVelocity({-500.0f, 0.0f});
    actor.move(1.0f / 60.0f);
    EXPECT_EQ(actor.getPosition(), glm::vec2(0.0f, 100.0f));
    actor.setPosition({3839.0f, 2159.0f});
    actor.setVelocity({500.0f, 500.0f});
    actor.move(1.0f / 60.0f);
    EXPECT_EQ(actor.getPosition(), glm::vec2(3840.0f, 2160.0f));
    actor.setPosition({-50.0f, 3000.0f});
    actor.setVelocity({0.0f, 0.0f});
    actor.move(1.0f / 60.0f);
    EXPECT_EQ(actor.getPosition(), glm::vec2(0.0f, 2160.0f));
}

TEST_F(ActorTest, WithoutStatsItCannotBeHurtOrDie) {
    actor.give(false, true);
    actor.takeDamage(1000.0f);
    actor.update(0.1f);
    EXPECT_TRUE(actor.isAlive());
    EXPECT_EQ(actor.bar()->getPercent(), 1.0f);
}

TEST_F(ActorTest, HealthBarShowsTheShareOfHealthLeft) {
    actor.give(true, true);
    actor.takeDamage(40.0f);
    actor.update(0.1f);
    EXPECT_FLOAT_EQ(actor.bar()->getPercent(), 0.2f);
    actor.takeDamage(40.0f); // invincible: ignored
    EXPECT_TRUE(actor.isAlive());
}

} // namespace
