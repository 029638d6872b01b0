#include "ui/HUDText.h"

#include "components/Sprite.h"
#include "components/TextLabel.h"
#include "support/Arena.h"

namespace {

using HUDTextTest = ArenaTest;

TEST_F(HUDTextTest, TextBoxKeepsItsSizeWhileTheLabelFollowsTheText) {
    HUDText* box = HUDText::addHUDTextChild(scene, "Score: 0", {1160.0f, 30.0f}, {200.0f, 50.0f},
                                            "assets/font/VonwaonBitmap-16px.ttf", 32,
                                            "assets/UI/Textfield_01.png", Anchor::CENTER);
    const glm::vec2 label = box->getTextLabel()->getSize();
    box->setText("Score: 123456");
    EXPECT_GT(box->getTextLabel()->getSize().x, label.x);
    EXPECT_EQ(box->getSize(), glm::vec2(200.0f, 50.0f));
    EXPECT_EQ(box->getBackground()->getSize(), glm::vec2(200.0f, 50.0f));
    box->setBgSizeByText(50.0f);
    EXPECT_EQ(box->getSize(), box->getTextLabel()->getSize() + glm::vec2(50.0f));
    EXPECT_EQ(box->getBackground()->getOffset(), -box->getSize() / 2.0f);
}

} // namespace
