#include "ui/HUDButton.h"

#include "components/Sprite.h"
#include "support/Arena.h"

namespace {

constexpr const char* kHover = "assets/sound/UI_button12.wav";
constexpr const char* kPress = "assets/sound/UI_button08.wav";

struct HUDButtonTest : ArenaTest {
    void SetUp() override {
        ArenaTest::SetUp();
        button = HUDButton::addHUDButtonChild(scene, {1140.0f, 690.0f}, "assets/UI/A_Restart1.png",
                                              "assets/UI/A_Restart2.png", "assets/UI/A_Restart3.png", 1.0f,
                                              Anchor::CENTER);
        size = button->getSpriteNormal()->getSize();
    }
    void pointAt(glm::vec2 p) {
        game.setMouseState(p, 0);
        frame();
    }
    bool mouse(SDL_EventType type, Uint8 which = SDL_BUTTON_LEFT) {
        SDL_Event event{};
        event.type = type;
        event.button.button = which;
        return scene->handleEvents(event);
    }
    const glm::vec2 on{1140.0f, 690.0f};
    const glm::vec2 off{600.0f, 300.0f};
    HUDButton* button = nullptr;
    glm::vec2 size{};
};

TEST_F(HUDButtonTest, HoverSoundOncePerEntry) {
    pointAt(on);
    pointAt(on + glm::vec2(2.0f));
    EXPECT_EQ(played(kHover), 1);
    EXPECT_TRUE(button->getSpriteHover()->getIsActive());
    pointAt(off);
    EXPECT_TRUE(button->getSpriteNormal()->getIsActive());
    pointAt(on);
    EXPECT_EQ(played(kHover), 2);
}

TEST_F(HUDButtonTest, PressShowsThePressedLookAndHidesTheClickFromTheWorld) {
    frames(130); // the thunder is ready: an unconsumed left press would cast it
    pointAt(on);
    EXPECT_TRUE(mouse(SDL_EVENT_MOUSE_BUTTON_DOWN));
    EXPECT_EQ(played(kPress), 1);
    EXPECT_EQ(played(kGhostSound), 0);
    frame();
    EXPECT_TRUE(button->getSpritePress()->getIsActive());
    EXPECT_FALSE(button->getSpriteHover()->getIsActive());
    // Leaving and coming back while held plays no hover sound.
    pointAt(off);
    pointAt(on);
    EXPECT_EQ(played(kHover), 1);
}

// A press elsewhere (on a panel that closed on it, say) is not completed by a release over the button;
// a press that arrives with the pointer's move onto the button is.
TEST_F(HUDButtonTest, OnlyAClickThatBeganHereCompletesAndThePressCountsWhereItIs) {
    pointAt(off);
    EXPECT_FALSE(mouse(SDL_EVENT_MOUSE_BUTTON_DOWN));
    pointAt(on);
    EXPECT_FALSE(mouse(SDL_EVENT_MOUSE_BUTTON_UP));
    EXPECT_FALSE(button->isTrigger());
    pointAt(off);
    game.setMouseState(on, 0); // moved onto it in the frame of the press
    EXPECT_TRUE(mouse(SDL_EVENT_MOUSE_BUTTON_DOWN));
    EXPECT_TRUE(mouse(SDL_EVENT_MOUSE_BUTTON_UP));
    EXPECT_TRUE(button->isTrigger());
    EXPECT_FALSE(button->isTrigger());
}

TEST_F(HUDButtonTest, ReleaseOutsideCancelsWithoutConsuming) {
    pointAt(on);
    mouse(SDL_EVENT_MOUSE_BUTTON_DOWN);
    pointAt(off);
    EXPECT_FALSE(mouse(SDL_EVENT_MOUSE_BUTTON_UP));
    frame();
    EXPECT_FALSE(button->isTrigger());
    EXPECT_TRUE(button->getSpriteNormal()->getIsActive());
}

TEST_F(HUDButtonTest, OnlyTheLeftButtonPresses) {
    pointAt(on);
    for (Uint8 which : {SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE}) {
        EXPECT_FALSE(mouse(SDL_EVENT_MOUSE_BUTTON_DOWN, which));
        EXPECT_FALSE(mouse(SDL_EVENT_MOUSE_BUTTON_UP, which));
    }
    EXPECT_FALSE(button->isTrigger());
    EXPECT_EQ(played(kPress), 0);
}

TEST_F(HUDButtonTest, TriggerWaitsForItsOwnerAndRehoversAfterwards) {
    pointAt(on);
    mouse(SDL_EVENT_MOUSE_BUTTON_DOWN);
    mouse(SDL_EVENT_MOUSE_BUTTON_UP);
    frames(10); // nobody polls: the click stays pending
    EXPECT_TRUE(button->isTrigger());
    EXPECT_FALSE(button->getIsHover());
    frame();
    EXPECT_EQ(played(kHover), 2); // still under the cursor: entered anew
}

TEST_F(HUDButtonTest, ScaledButtonGrowsRightAndDownAndSoDoesItsHitArea) {
    const glm::vec2 top_left = on - size / 2.0f;
    button->setScale(4.0f);
    EXPECT_EQ(button->getSpritePress()->getSize(), size * 4.0f);
    pointAt(top_left + size * 4.0f - glm::vec2(1.0f));
    EXPECT_TRUE(button->getIsHover());
    pointAt(top_left - glm::vec2(1.0f));
    EXPECT_FALSE(button->getIsHover());
    pointAt(top_left); // edges count
    EXPECT_TRUE(button->getIsHover());
}

} // namespace
