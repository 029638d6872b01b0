#include "object/Scene.h"

#include "core/Game.h"
#include "support/Probe.h"

#include <gtest/gtest.h>

namespace {

struct SceneTest : ::testing::Test {
    void SetUp() override { scene = installWorldScene(); }

    template <typename P>
    P* add(const std::shared_ptr<ProbeLog>& log, ObjectType type, bool consume = false) {
        auto* probe = new P(log, type, consume);
        probe->init();
        scene->addChild(probe);
        return probe;
    }

    WorldScene* scene = nullptr;
};

TEST_F(SceneTest, RoutesChildrenByTheirType) {
    auto log = std::make_shared<ProbeLog>();
    Object* plain = add<Probe>(log, ObjectType::NONE);
    ObjectWorld* world = add<ProbeWorld>(log, ObjectType::OBJECT_WORLD);
    ObjectWorld* enemy = add<ProbeWorld>(log, ObjectType::ENEMY);
    ObjectScreen* screen = add<ProbeScreen>(log, ObjectType::OBJECT_SCREEN);
    EXPECT_EQ(scene->getChildren(), std::vector<Object*>{plain});
    EXPECT_EQ(scene->getChildrenWorld(), (std::vector<ObjectWorld*>{world, enemy}));
    EXPECT_EQ(scene->getChildrenScreen(), std::vector<ObjectScreen*>{screen});
    scene->removeChild(enemy);
    scene->removeChild(screen);
    EXPECT_EQ(scene->getChildrenWorld(), std::vector<ObjectWorld*>{world});
    EXPECT_TRUE(scene->getChildrenScreen().empty());
    delete enemy;
    delete screen;
}

TEST_F(SceneTest, PauseFreezesWorldAndPlainButNotScreen) {
    auto plain = std::make_shared<ProbeLog>();
    auto world = std::make_shared<ProbeLog>();
    auto screen = std::make_shared<ProbeLog>();
    auto queued = std::make_shared<ProbeLog>();
    add<Probe>(plain, ObjectType::NONE);
    ObjectWorld* doomed = add<ProbeWorld>(world, ObjectType::OBJECT_WORLD);
    add<ProbeScreen>(screen, ObjectType::OBJECT_SCREEN);
    auto* late = new Probe(queued);
    scene->safeAddChild(late);
    scene->pause();
    doomed->setNeedRemove(true);
    SDL_Event event{};
    scene->handleEvents(event);
    scene->update(0.1f);
    scene->render();
    EXPECT_EQ(plain->updates + plain->events, 0);
    EXPECT_EQ(world->updates + world->events, 0);
    EXPECT_FALSE(world->deleted); // not removed while paused
    EXPECT_EQ(plain->renders, 1); // but still drawn
    EXPECT_EQ(world->renders, 1);
    EXPECT_EQ(screen->events, 1);
    EXPECT_EQ(screen->updates, 1);
    EXPECT_EQ(screen->renders, 1);
    EXPECT_EQ(queued->updates, 0);
    scene->resume();
    scene->update(0.1f);
    EXPECT_TRUE(world->deleted);
    EXPECT_EQ(queued->updates, 1);
    EXPECT_EQ(plain->updates, 1);
}

TEST_F(SceneTest, ScreenChildConsumingAnEventHidesItFromTheWorld) {
    auto screen = std::make_shared<ProbeLog>();
    auto world = std::make_shared<ProbeLog>();
    auto plain = std::make_shared<ProbeLog>();
    add<ProbeWorld>(world, ObjectType::OBJECT_WORLD);
    add<Probe>(plain, ObjectType::NONE);
    add<ProbeScreen>(screen, ObjectType::OBJECT_SCREEN, true);
    SDL_Event event{};
    EXPECT_TRUE(scene->handleEvents(event));
    EXPECT_EQ(world->events + plain->events, 0);
}

TEST_F(SceneTest, PlainChildrenSeeEventsBeforeWorldChildren) {
    auto world = std::make_shared<ProbeLog>();
    auto plain = std::make_shared<ProbeLog>();
    add<ProbeWorld>(world, ObjectType::OBJECT_WORLD);
    add<Probe>(plain, ObjectType::NONE, true);
    SDL_Event event{};
    EXPECT_TRUE(scene->handleEvents(event));
    EXPECT_EQ(plain->events, 1);
    EXPECT_EQ(world->events, 0);
}

TEST_F(SceneTest, CameraShowsAtMostThirtyPixelsBeyondTheWorld) {
    scene->setCameraPosition({-100.0f, 5000.0f});
    EXPECT_EQ(scene->getCameraPosition(), glm::vec2(-30.0f, 1470.0f));
    scene->setCameraPosition({2590.0f, -29.0f});
    EXPECT_EQ(scene->getCameraPosition(), glm::vec2(2590.0f, -29.0f));
    scene->setCameraPosition({2591.0f, 0.0f});
    EXPECT_EQ(scene->getCameraPosition().x, 2590.0f);
}

TEST_F(SceneTest, CameraInAWorldSmallerThanTheScreenTakesTheUpperBound) {
    Scene tiny; // world (0, 0): the range is empty
    tiny.setCameraPosition({0.0f, 0.0f});
    EXPECT_EQ(tiny.getCameraPosition(), glm::vec2(-1250.0f, -690.0f));
}

TEST_F(SceneTest, WorldAndScreenConversionsUndoEachOther) {
    scene->setCameraPosition({123.5f, 77.25f});
    EXPECT_EQ(scene->worldToScreen(scene->getCameraPosition()), glm::vec2(0.0f));
    const glm::vec2 p(1000.75f, 42.0f);
    EXPECT_EQ(scene->screenToWorld(scene->worldToScreen(p)), p);
}

// Writes its mark into a shared list when drawn.
template <typename Base> class Marker : public Base {
public:
    Marker(std::vector<int>* order, int mark, ObjectType type)
        : order_(order), mark_(mark), type_to_set_(type) {}
    void init() override {
        Base::init();
        this->type_ = type_to_set_;
    }
    void render() override { order_->push_back(mark_); }

private:
    std::vector<int>* order_;
    int mark_;
    ObjectType type_to_set_;
};

TEST_F(SceneTest, DrawsPlainThenWorldThenScreenWhateverTheOrderOfAdding) {
    std::vector<int> order;
    Object* added[] = {new Marker<ObjectScreen>(&order, 3, ObjectType::OBJECT_SCREEN),
                       new Marker<ObjectWorld>(&order, 2, ObjectType::ENEMY),
                       new Marker<Object>(&order, 1, ObjectType::NONE)};
    for (Object* object : added) {
        object->init();
        scene->addChild(object);
    }
    scene->render();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

} // namespace
