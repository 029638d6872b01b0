#include "components/Effect.h"

#include "components/SpriteAnim.h"
#include "core/Game.h"
#include "support/Probe.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

struct EffectTest : ::testing::Test {
    void SetUp() override {
        scene = installWorldScene();
        writeQuadrantPng(dir.file("fx.png"), 128, 32); // four frames: 0.4 s at 10 fps
    }
    void frame() { scene->update(1.0f / 60.0f); }

    TempDir dir;
    Scene* scene = nullptr;
};

TEST_F(EffectTest, RemovesItselfAfterItsAnimation) {
    Effect* effect = Effect::addEffectChild(scene, dir.file("fx.png"), {100.0f, 100.0f}, 1.0f);
    EXPECT_EQ(effect->getRenderPosition(), glm::vec2(100.0f, 100.0f));
    for (int i = 0; i < 60; ++i)
        frame();
    EXPECT_TRUE(scene->getChildrenWorld().empty());
}

TEST_F(EffectTest, FollowUpJoinsTheSceneOnTheUpdateAfterTheLastFrame) {
    auto log = std::make_shared<ProbeLog>();
    auto* next = new ProbeWorld(log, ObjectType::ENEMY);
    next->init();
    Effect* effect = Effect::addEffectChild(scene, dir.file("fx.png"), {100.0f, 100.0f}, 1.0f, next);
    int frames = 0;
    while (!effect->getSprite()->getFinish()) {
        frame();
        ++frames;
        ASSERT_EQ(log->updates, 0);
        ASSERT_LT(frames, 100);
    }
    EXPECT_EQ(scene->getChildrenWorld().size(), 1u); // flagged, removed next update
    frame();
    EXPECT_EQ(scene->getChildrenWorld(), std::vector<ObjectWorld*>{next});
    EXPECT_EQ(log->updates, 1);
    EXPECT_EQ(log->cleans, 0);
}

TEST_F(EffectTest, LeavingTheSceneMidAnimationDeletesTheFollowUp) {
    auto log = std::make_shared<ProbeLog>();
    auto* next = new ProbeWorld(log, ObjectType::ENEMY);
    next->init();
    Effect::addEffectChild(scene, dir.file("fx.png"), {100.0f, 100.0f}, 1.0f, next);
    frame();
    Game::getInstance().changeScene(new WorldScene);
    EXPECT_EQ(log->cleans, 1);
    EXPECT_TRUE(log->deleted);
}

TEST_F(EffectTest, WithoutAParentItWaitsAndThenPlaysFromTheStart) {
    Effect* effect = Effect::addEffectChild(nullptr, dir.file("fx.png"), {10.0f, 10.0f}, 2.0f);
    for (int i = 0; i < 60; ++i)
        frame();
    EXPECT_EQ(effect->getSprite()->getCurrentFrame(), 0);
    EXPECT_EQ(effect->getSprite()->getSize(), glm::vec2(64.0f));
    effect->setPosition({500.0f, 400.0f});
    scene->addChild(effect);
    frame();
    EXPECT_FALSE(effect->getSprite()->getFinish());
    EXPECT_EQ(effect->getRenderPosition(), glm::vec2(500.0f, 400.0f));
}

} // namespace
