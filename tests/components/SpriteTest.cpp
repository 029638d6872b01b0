#include "components/Sprite.h"

#include "components/SpriteAnim.h"
#include "core/Game.h"
#include "support/Probe.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

struct SpriteTest : ::testing::Test {
    void SetUp() override {
        parent.init();
        parent.setRenderPosition({200.0f, 200.0f});
        writeQuadrantPng(dir.file("32.png"), 32, 32);
        SDL_RenderClear(renderer);
    }
    void TearDown() override { parent.clean(); }
    bool lit(int x, int y) { return !isBlack(readPixel(renderer, x, y)); }

    TempDir dir;
    ObjectScreen parent;
    SDL_Renderer* renderer = Game::getInstance().getRenderer();
};

TEST_F(SpriteTest, FactoryScalesThenAnchorsTheScaledSize) {
    Sprite* sprite = Sprite::addSpriteChild(&parent, dir.file("32.png"), 2.0f, Anchor::CENTER);
    EXPECT_EQ(sprite->getSize(), glm::vec2(64.0f));
    EXPECT_EQ(sprite->getOffset(), glm::vec2(-32.0f));
    sprite->setScale(2.0f); // grows right and down from the old offset
    EXPECT_EQ(sprite->getSize(), glm::vec2(128.0f));
    EXPECT_EQ(sprite->getOffset(), glm::vec2(-32.0f));
    parent.render();
    EXPECT_TRUE(lit(170, 170));
    EXPECT_TRUE(lit(290, 290));
    EXPECT_FALSE(lit(165, 200));
}

TEST_F(SpriteTest, MissingImageGivesAnEmptySpriteThatDrawsNothing) {
    Sprite* sprite = Sprite::addSpriteChild(&parent, dir.file("missing.png"), 3.0f, Anchor::CENTER);
    EXPECT_EQ(sprite->getSize(), glm::vec2(0.0f));
    parent.update(0.016f);
    parent.render();
    EXPECT_FALSE(lit(200, 200));
}

TEST_F(SpriteTest, ZeroPercentOrAFinishedAnimationDrawsNothing) {
    Sprite* sprite = Sprite::addSpriteChild(&parent, dir.file("32.png"), 1.0f, Anchor::CENTER);
    sprite->setPercent({0.0f, 1.0f});
    parent.render();
    EXPECT_FALSE(lit(200, 200));
    sprite->setPercent({1.0f, 1.0f});
    parent.render();
    EXPECT_TRUE(lit(200, 200));

    writeQuadrantPng(dir.file("strip.png"), 64, 32); // two frames
    SDL_RenderClear(renderer);
    SpriteAnim* once = SpriteAnim::addSpriteAnimChild(&parent, dir.file("strip.png"), 1.0f, Anchor::TOP_LEFT);
    sprite->setActive(false);
    once->setLoop(false);
    once->update(0.1f);
    once->update(0.1f);
    ASSERT_TRUE(once->getFinish());
    parent.render();
    EXPECT_FALSE(lit(210, 210));
}

TEST_F(SpriteTest, NewTextureResizesButKeepsTheOffset) {
    Sprite* sprite = Sprite::addSpriteChild(&parent, dir.file("32.png"), 1.0f, Anchor::CENTER);
    writeQuadrantPng(dir.file("wide.png"), 100, 10);
    sprite->setTexture(Texture(dir.file("wide.png")));
    EXPECT_EQ(sprite->getSize(), glm::vec2(100.0f, 10.0f));
    EXPECT_EQ(sprite->getOffset(), glm::vec2(-16.0f));
}

TEST_F(SpriteTest, StripsGiveRoundedFrameCountsAndSquareFrames) {
    const struct { int w, h, frames; } strips[] = {{512, 64, 8}, {100, 40, 3}, {90, 40, 2}, {64, 64, 1}};
    for (const auto& s : strips) {
        const std::string path = dir.file(std::to_string(s.w) + "x" + std::to_string(s.h) + ".png");
        writeQuadrantPng(path, s.w, s.h);
        SpriteAnim* anim = SpriteAnim::addSpriteAnimChild(&parent, path, 2.0f, Anchor::CENTER);
        EXPECT_EQ(anim->getTotalFrames(), s.frames) << s.w << "x" << s.h;
        EXPECT_EQ(anim->getSize(), glm::vec2(2.0f * s.h)) << s.w << "x" << s.h;
        EXPECT_EQ(anim->getTexture().src_rect.w, static_cast<float>(s.h));
    }
}

TEST_F(SpriteTest, SheetThatFailedToLoadNeverIndexesOutOfRange) {
    SpriteAnim* anim = SpriteAnim::addSpriteAnimChild(&parent, dir.file("missing.png"), 2.0f, Anchor::CENTER);
    EXPECT_GE(anim->getTotalFrames(), 1);
    for (int i = 0; i < 50; ++i)
        anim->update(0.2f);
    EXPECT_LT(anim->getCurrentFrame(), anim->getTotalFrames());
    EXPECT_EQ(anim->getTexture().src_rect.x, 0.0f);
    parent.render();
    EXPECT_FALSE(lit(200, 200));
}

TEST_F(SpriteTest, AdvancesAtMostOneFramePerUpdate) {
    writeQuadrantPng(dir.file("8.png"), 256, 32);
    SpriteAnim* anim = SpriteAnim::addSpriteAnimChild(&parent, dir.file("8.png"), 1.0f, Anchor::CENTER);
    anim->update(1.0f);
    EXPECT_EQ(anim->getCurrentFrame(), 1);
    EXPECT_EQ(anim->getFrameTimer(), 0.0f); // the surplus is dropped
    EXPECT_EQ(anim->getTexture().src_rect.x, 32.0f);
    int updates = 0;
    while (anim->getCurrentFrame() == 1) {
        anim->update(1.0f / 60.0f);
        ++updates;
    }
    EXPECT_GE(updates, 6);
    EXPECT_LE(updates, 7);
}

TEST_F(SpriteTest, PlayOnceFinishesAfterItsLastFrameAndLoopingNever) {
    writeQuadrantPng(dir.file("4.png"), 128, 32);
    SpriteAnim* once = SpriteAnim::addSpriteAnimChild(&parent, dir.file("4.png"), 1.0f, Anchor::CENTER);
    SpriteAnim* loop = SpriteAnim::addSpriteAnimChild(&parent, dir.file("4.png"), 1.0f, Anchor::CENTER);
    once->setLoop(false);
    float t = 0.0f;
    while (!once->getFinish() && t < 2.0f) {
        once->update(1.0f / 60.0f);
        loop->update(1.0f / 60.0f);
        t += 1.0f / 60.0f;
    }
    EXPECT_NEAR(t, 0.4f, 0.07f);
    EXPECT_EQ(once->getCurrentFrame(), 0);
    for (int i = 0; i < 600; ++i)
        loop->update(1.0f / 60.0f);
    EXPECT_FALSE(loop->getFinish());
    once->update(1.0f);
    EXPECT_EQ(once->getCurrentFrame(), 0); // finished: nothing changes any more
}

} // namespace
