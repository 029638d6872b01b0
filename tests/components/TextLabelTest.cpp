#include "components/TextLabel.h"

#include "core/Game.h"
#include "object/ObjectScreen.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kFont = "assets/font/VonwaonBitmap-16px.ttf";

struct TextLabelTest : ::testing::Test {
    void SetUp() override {
        owner.init();
        owner.setRenderPosition({640.0f, 360.0f});
    }
    void TearDown() override { owner.clean(); }
    ObjectScreen owner;
};

TEST_F(TextLabelTest, GrowingTextReanchorsAroundTheSamePoint) {
    TextLabel* centred = TextLabel::addTextLabelChild(&owner, "0", kFont, 16, Anchor::CENTER);
    TextLabel* left = TextLabel::addTextLabelChild(&owner, "0", kFont, 16, Anchor::TOP_LEFT);
    TextLabel* right = TextLabel::addTextLabelChild(&owner, "0", kFont, 16, Anchor::TOP_RIGHT);
    const glm::vec2 one = centred->getSize();
    ASSERT_GT(one.x, 0.0f);
    EXPECT_EQ(centred->getOffset(), -one / 2.0f);
    for (TextLabel* label : {centred, left, right})
        label->setText("12345");
    const glm::vec2 five = centred->getSize();
    EXPECT_EQ(five.x, 5.0f * one.x); // a monospaced pixel font
    EXPECT_EQ(centred->getOffset(), -five / 2.0f);
    EXPECT_EQ(left->getOffset(), glm::vec2(0.0f));
    EXPECT_EQ(right->getOffset(), glm::vec2(-five.x, 0.0f));
}

TEST_F(TextLabelTest, NewFontSizeReusesTheTextObject) {
    TextLabel* label = TextLabel::addTextLabelChild(&owner, "Score: 0", kFont, 16, Anchor::CENTER);
    TTF_Text* text = label->getTtfText();
    const glm::vec2 small = label->getSize();
    label->setFontSize(32);
    EXPECT_EQ(label->getTtfText(), text);
    EXPECT_EQ(label->getSize(), small * 2.0f);
    EXPECT_EQ(label->getOffset(), -small);
    EXPECT_EQ(label->getText(), "Score: 0");
}

TEST_F(TextLabelTest, CleanDestroysTheTextObject) {
    TextLabel* label = TextLabel::addTextLabelChild(nullptr, "alone", kFont, 16, Anchor::CENTER);
    EXPECT_EQ(label->getParent(), nullptr); // unattached: nothing draws it
    label->clean();
    EXPECT_EQ(label->getTtfText(), nullptr);
    delete label;
}

TEST_F(TextLabelTest, DrawsItsTextAtItsBox) {
    SDL_Renderer* renderer = Game::getInstance().getRenderer();
    SDL_RenderClear(renderer);
    TextLabel* label = TextLabel::addTextLabelChild(&owner, "MMMM", kFont, 32, Anchor::CENTER);
    owner.render();
    const glm::vec2 corner = owner.getRenderPosition() + label->getOffset();
    const SDL_Rect box = {static_cast<int>(corner.x), static_cast<int>(corner.y),
                          static_cast<int>(label->getSize().x), static_cast<int>(label->getSize().y)};
    EXPECT_GT(countLit(renderer, box), 100);
    EXPECT_EQ(countLit(renderer, {box.x - 20, box.y, 20, box.h}), 0);
}

} // namespace
