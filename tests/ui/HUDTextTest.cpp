#include "ui/HUDText.h"

#include "components/Sprite.h"
#include "components/TextLabel.h"
#include "shell/Preferences.h"
#include "support/Arena.h"

#include <fstream>

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

    // The player turns large text on mid-game: a small label's box grows with its words before it is drawn.
    HUDText* small = HUDText::addHUDTextChild(scene, "Slow motion", {640.0f, 30.0f}, {100.0f, 30.0f},
                                              "assets/font/VonwaonBitmap-16px.ttf", 16,
                                              "assets/UI/Textfield_01.png", Anchor::CENTER);
    small->setBgSizeByText(16.0f);
    const glm::vec2 normal = small->getSize();
    std::ofstream("assets/settings.ini") << "controls_seen=true\ntext_size=large\n";
    game.getPreferences()->load();
    small->render();
    std::ofstream("assets/settings.ini") << "controls_seen=true\n";
    game.getPreferences()->load();
    EXPECT_EQ(small->getSize(), (normal - glm::vec2(16.0f)) * 1.5f + glm::vec2(16.0f)) << "16 px words at 24";
    EXPECT_EQ(small->getBackground()->getSize(), small->getSize());
}

} // namespace
