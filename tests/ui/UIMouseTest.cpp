#include "ui/UIMouse.h"

#include "components/Sprite.h"
#include "support/Arena.h"

namespace {

using UIMouseTest = ArenaTest;

TEST_F(UIMouseTest, AlternatesOnAPointThreePointSixCycle) {
    UIMouse* mouse =
        UIMouse::addUIMouseChild(nullptr, "assets/UI/29.png", "assets/UI/30.png", 1.0f, Anchor::CENTER);
    EXPECT_TRUE(mouse->getSprite1()->getIsActive());
    EXPECT_TRUE(mouse->getSprite2()->getIsActive()); // both, until the first update
    std::string pattern;
    for (int i = 0; i < 80; ++i) {
        mouse->update(1.0f / 60.0f);
        pattern += mouse->getSprite1()->getIsActive() ? '1' : '2';
        EXPECT_NE(mouse->getSprite1()->getIsActive(), mouse->getSprite2()->getIsActive());
    }
    // About 0.3 s of the first image, then the second up to and including the reset frame: 0.6 s a cycle.
    const size_t first = pattern.find('2');
    const size_t cycle = pattern.find('1', first);
    EXPECT_GE(first, 17u);
    EXPECT_LE(first, 18u);
    EXPECT_GE(cycle, 36u);
    EXPECT_LE(cycle, 37u);
    EXPECT_EQ(pattern.find('2', cycle), first + cycle);
    game.setMouseState({123.0f, 456.0f}, 0);
    mouse->update(0.7f); // straight to the reset branch: images unchanged
    EXPECT_EQ(mouse->getRenderPosition(), glm::vec2(123.0f, 456.0f));
    mouse->clean();
    delete mouse;
}

} // namespace
