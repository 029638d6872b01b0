#include "object/Object.h"

#include "support/Probe.h"

#include <gtest/gtest.h>

namespace {

// Queues a child during its own update, as effects and weapons do.
class Spawning : public Object {
public:
    explicit Spawning(Object* child) : child_(child) {}
    void update(float dt) override {
        Object::update(dt);
        if (child_) safeAddChild(std::exchange(child_, nullptr));
    }

private:
    Object* child_;
};

TEST(ObjectTest, QueuedChildJoinsAndUpdatesAtTheNextUpdate) {
    Object root;
    auto log = std::make_shared<ProbeLog>();
    auto* spawner = new Spawning(new Probe(log));
    root.addChild(spawner);
    root.update(0.1f); // frame N: the spawner queues
    root.render();
    EXPECT_EQ(log->updates, 0);
    EXPECT_EQ(log->renders, 0);
    root.update(0.1f); // frame N+1: attached at the start, then updated
    root.render();
    EXPECT_EQ(log->updates, 1);
    EXPECT_EQ(log->renders, 1);
    root.clean();
}

// Flags a sibling for removal while the walk is under way.
class Flagger : public Object {
public:
    explicit Flagger(Object* target) : target_(target) {}
    void update(float dt) override {
        Object::update(dt);
        if (target_) std::exchange(target_, nullptr)->setNeedRemove(true); // once: it is gone after
    }

private:
    Object* target_;
};

TEST(ObjectTest, ChildFlaggedAfterTheWalkPassedItGoesNextFrame) {
    Object root;
    auto log = std::make_shared<ProbeLog>();
    auto* early = new Probe(log);
    root.addChild(early);
    root.addChild(new Flagger(early));
    root.update(0.1f);
    root.render();
    EXPECT_FALSE(log->deleted);
    EXPECT_EQ(log->renders, 1); // still drawn this frame
    root.update(0.1f);
    EXPECT_TRUE(log->deleted);
    EXPECT_EQ(log->cleans, 1);
    EXPECT_EQ(log->updates, 1);
    root.clean();
}

TEST(ObjectTest, ChildFlaggedAheadOfTheWalkGoesThisFrame) {
    Object root;
    auto log = std::make_shared<ProbeLog>();
    auto* late = new Probe(log);
    root.addChild(new Flagger(late));
    root.addChild(late);
    root.update(0.1f);
    EXPECT_TRUE(log->deleted);
    EXPECT_EQ(log->updates, 0);
    root.clean();
}

TEST(ObjectTest, InactiveChildIsSkippedButStillCleanedAndRemovable) {
    Object root;
    auto kept = std::make_shared<ProbeLog>();
    auto removed = std::make_shared<ProbeLog>();
    auto* sleeper = new Probe(kept);
    auto* doomed = new Probe(removed);
    sleeper->setActive(false);
    doomed->setActive(false);
    root.addChild(sleeper);
    root.addChild(doomed);
    SDL_Event event{};
    root.handleEvents(event);
    root.update(0.1f);
    root.render();
    EXPECT_EQ(kept->events + kept->updates + kept->renders, 0);
    doomed->setNeedRemove(true);
    root.update(0.1f);
    EXPECT_TRUE(removed->deleted);
    root.clean();
    EXPECT_EQ(kept->cleans, 1);
    EXPECT_TRUE(kept->deleted);
}

TEST(ObjectTest, InactiveParentHidesItsWholeSubtree) {
    Object root;
    auto log = std::make_shared<ProbeLog>();
    auto* parent = new Object;
    parent->addChild(new Probe(log));
    parent->setActive(false);
    root.addChild(parent);
    SDL_Event event{};
    root.handleEvents(event);
    root.update(0.1f);
    root.render();
    EXPECT_EQ(log->events + log->updates + log->renders, 0);
    root.clean();
}

TEST(ObjectTest, EventStopsAtTheFirstChildThatConsumesIt) {
    Object root;
    auto first = std::make_shared<ProbeLog>();
    auto consumer = std::make_shared<ProbeLog>();
    auto after = std::make_shared<ProbeLog>();
    root.addChild(new Probe(first));
    root.addChild(new Probe(consumer, ObjectType::NONE, true));
    root.addChild(new Probe(after));
    SDL_Event event{};
    EXPECT_TRUE(root.handleEvents(event));
    EXPECT_EQ(first->events, 1);
    EXPECT_EQ(consumer->events, 1);
    EXPECT_EQ(after->events, 0);
    root.clean();
}

TEST(ObjectTest, RemoveChildOfAStrangerChangesNothing) {
    Object root;
    auto log = std::make_shared<ProbeLog>();
    auto* child = new Probe(log);
    root.addChild(child);
    Object stranger;
    root.removeChild(&stranger);
    root.update(0.1f);
    EXPECT_EQ(log->updates, 1);
    root.removeChild(child); // detached, not deleted: ours to delete now
    EXPECT_FALSE(log->deleted);
    delete child;
}

// Reads a sibling during its clean, which must not have been deleted yet.
class SiblingReader : public Object {
public:
    SiblingReader(std::shared_ptr<ProbeLog> sibling, bool* saw_deleted)
        : sibling_(std::move(sibling)), saw_deleted_(saw_deleted) {}
    void clean() override {
        *saw_deleted_ = sibling_->deleted;
        Object::clean();
    }

private:
    std::shared_ptr<ProbeLog> sibling_;
    bool* saw_deleted_;
};

TEST(ObjectTest, CleanDeletesChildrenOnlyAfterAllWereCleaned) {
    auto* root = new Object;
    auto log = std::make_shared<ProbeLog>();
    bool saw_deleted = true;
    root->addChild(new Probe(log));
    root->addChild(new SiblingReader(log, &saw_deleted));
    root->clean();
    delete root;
    EXPECT_FALSE(saw_deleted);
    EXPECT_TRUE(log->deleted);
    EXPECT_EQ(log->cleans, 1);
}

} // namespace
