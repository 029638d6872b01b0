#include "components/Collider.h"

#include "object/ObjectWorld.h"
#include "support/Probe.h"

#include <gtest/gtest.h>

namespace {

struct ColliderTest : ::testing::Test {
    void SetUp() override {
        installWorldScene();
        a.init();
        b.init();
    }
    void TearDown() override {
        a.clean();
        b.clean();
    }
    Collider* circle(ObjectWorld& owner, float diameter) {
        return Collider::addColliderChild(&owner, glm::vec2(diameter), ColliderShape::CIRCLE, Anchor::CENTER);
    }

    ObjectWorld a;
    ObjectWorld b;
};

TEST_F(ColliderTest, TouchingIsNotColliding) {
    Collider* ca = circle(a, 64.0f);
    Collider* cb = circle(b, 64.0f);
    a.setPosition({500.0f, 500.0f});
    b.setPosition({563.9f, 500.0f});
    EXPECT_TRUE(ca->isColliding(cb));
    EXPECT_TRUE(cb->isColliding(ca));
    b.setPosition({564.0f, 500.0f});
    EXPECT_FALSE(ca->isColliding(cb));
    EXPECT_FALSE(ca->isColliding(nullptr));
}

TEST_F(ColliderTest, MixedDiametersUseTheirMean) {
    Collider* ca = circle(a, 40.0f);
    Collider* cb = circle(b, 100.0f);
    a.setPosition({0.0f, 0.0f});
    b.setPosition({42.0f, 56.0f}); // 70 apart
    EXPECT_FALSE(ca->isColliding(cb));
    b.setPosition({42.0f, 55.9f});
    EXPECT_TRUE(ca->isColliding(cb));
}

TEST_F(ColliderTest, OnlyCirclesEverCollide) {
    Collider* ca = circle(a, 64.0f);
    Collider* cb = circle(b, 64.0f);
    a.setPosition({10.0f, 10.0f});
    b.setPosition({10.0f, 10.0f});
    ca->setShape(static_cast<ColliderShape>(1));
    EXPECT_FALSE(ca->isColliding(cb));
    EXPECT_FALSE(cb->isColliding(ca));
}

TEST_F(ColliderTest, UsesWorldPositionsNotTheCamera) {
    Collider* ca = circle(a, 10.0f);
    ObjectScreen hud;
    hud.init();
    hud.setRenderPosition({300.0f, 300.0f});
    Collider* on_screen =
        Collider::addColliderChild(&hud, glm::vec2(10.0f), ColliderShape::CIRCLE, Anchor::CENTER);
    a.setPosition({3.0f, 0.0f});
    EXPECT_TRUE(ca->isColliding(on_screen)); // a screen object stands at the world origin
    a.setPosition({300.0f, 300.0f});
    EXPECT_FALSE(ca->isColliding(on_screen));
    hud.clean();
}

} // namespace
