#include "object/ObjectAffiliate.h"

#include "object/ObjectWorld.h"
#include "support/Probe.h"

#include <gtest/gtest.h>

namespace {

TEST(ObjectAffiliateTest, OffsetFollowsSizeOnlyOnceAnAnchorIsApplied) {
    ObjectAffiliate box;
    EXPECT_EQ(box.getAnchor(), Anchor::CENTER);
    EXPECT_EQ(box.getOffset(), glm::vec2(0.0f));
    box.setSize({32.0f, 16.0f});
    EXPECT_EQ(box.getOffset(), glm::vec2(-16.0f, -8.0f));
    box.setSize({64.0f, 16.0f});
    EXPECT_EQ(box.getOffset(), glm::vec2(-32.0f, -8.0f));
    box.setAnchor(Anchor::TOP_LEFT);
    EXPECT_EQ(box.getOffset(), glm::vec2(-32.0f, -8.0f));
    box.setOffsetByAnchor(Anchor::TOP_LEFT);
    EXPECT_EQ(box.getOffset(), glm::vec2(0.0f));
    box.setOffsetByAnchor(Anchor::BOTTOM_RIGHT);
    box.setOffsetByAnchor(Anchor::NONE);
    EXPECT_EQ(box.getAnchor(), Anchor::NONE);
    EXPECT_EQ(box.getOffset(), glm::vec2(-64.0f, -16.0f));
}

TEST(ObjectAffiliateTest, EveryAnchorPutsItsPointOnTheParent) {
    ObjectAffiliate box;
    box.setSize({10.0f, 20.0f});
    const std::pair<Anchor, glm::vec2> cases[] = {
        {Anchor::TOP_LEFT, {0, 0}},         {Anchor::TOP_CENTER, {-5, 0}},
        {Anchor::TOP_RIGHT, {-10, 0}},      {Anchor::CENTER_LEFT, {0, -10}},
        {Anchor::CENTER, {-5, -10}},        {Anchor::CENTER_RIGHT, {-10, -10}},
        {Anchor::BOTTOM_LEFT, {0, -20}},    {Anchor::BOTTOM_CENTER, {-5, -20}},
        {Anchor::BOTTOM_RIGHT, {-10, -20}},
    };
    for (const auto& [anchor, offset] : cases) {
        box.setOffsetByAnchor(anchor);
        EXPECT_EQ(box.getOffset(), offset) << static_cast<int>(anchor);
    }
    box.setOffsetByAnchor(static_cast<Anchor>(12)); // out of range: unchanged
    EXPECT_EQ(box.getOffset(), glm::vec2(-10.0f, -20.0f));
}

TEST(ObjectWorldTest, RenderPositionFollowsTheCameraAtTheNextUpdate) {
    Scene* scene = installWorldScene();
    ObjectWorld thing;
    thing.init();
    scene->setCameraPosition({40.0f, -30.0f});
    thing.setPosition({100.0f, 50.0f});
    EXPECT_EQ(thing.getRenderPosition(), glm::vec2(60.0f, 80.0f));
    scene->setCameraPosition({0.0f, 0.0f});
    EXPECT_EQ(thing.getRenderPosition(), glm::vec2(60.0f, 80.0f)); // not before its update
    thing.update(0.0f);
    EXPECT_EQ(thing.getRenderPosition(), glm::vec2(100.0f, 50.0f));
    scene->setCameraPosition({40.0f, -30.0f});
    thing.setRenderPosition({60.0f, 80.0f});
    EXPECT_EQ(thing.getPosition(), glm::vec2(100.0f, 50.0f));
}

TEST(ObjectWorldTest, TypesAndPositionsOfTheTwoKinds) {
    ObjectScreen screen;
    screen.init();
    ObjectWorld world;
    world.init();
    EXPECT_EQ(screen.getType(), ObjectType::OBJECT_SCREEN);
    EXPECT_EQ(world.getType(), ObjectType::OBJECT_WORLD);
    screen.setRenderPosition({5.0f, 6.0f});
    EXPECT_EQ(screen.getPosition(), glm::vec2(0.0f));
}

} // namespace
