#include "TestPaths.h"
#include "scenes/SceneTitle.h"

#include "components/Sprite.h"
#include "components/TextLabel.h"
#include "replay/Daily.h"
#include "scenes/SceneMain.h"
#include "scenes/ScoreFile.h"
#include "support/SceneDriver.h"
#include "ui/ConfirmBox.h"
#include "ui/HUDButton.h"
#include "ui/HUDText.h"

#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

constexpr const char* kHover = "assets/sound/UI_button12.wav";

struct SceneTitleTest : SceneDriver {
    SceneTitle* open() {
        auto* title = new SceneTitle;
        game.changeScene(title);
        return title;
    }
    // The text boxes the title does not keep a pointer to, found by what they say.
    HUDText* boxSaying(const std::string& prefix) const {
        for (ObjectScreen* object : scene()->getChildrenScreen()) {
            auto* box = dynamic_cast<HUDText*>(object);
            if (box && box->getTextLabel()->getText().rfind(prefix, 0) == 0) return box;
        }
        return nullptr;
    }
    // A recorded game, as the kept run in progress.
    static std::string recorded(const std::string& name) {
        std::ifstream file(std::string(MOONVALE_TEST_DATA) + "/" + name, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    static void keepRun(const std::string& bytes) { std::ofstream("assets/run.mvr", std::ios::binary) << bytes; }
    std::string notice() const {
        HUDText* text = dynamic_cast<SceneTitle*>(scene())->getNoticeText();
        return text->getIsActive() ? text->getTextLabel()->getText() : std::string();
    }
    void TearDown() override {
        game.changeScene(nullptr); // a game left running would keep its run as it goes
        game.getRunKeeper().flush();
        for (const std::string& file :
             {std::string("assets/run.mvr"), std::string("assets/run.day"), std::string("assets/run-refused.mvr"),
              dailyReplayPath(todayInUtc())})
            std::filesystem::remove(file);
        SceneDriver::TearDown();
    }
};

TEST_F(SceneTitleTest, ShowsTheHighScoreReadFromDisk) {
    writeScoreFile("assets/score.dat", -1);
    game.setHighScore(500);
    open();
    EXPECT_EQ(game.getHighScore(), -1); // replaced outright
    ASSERT_NE(boxSaying("High Score: "), nullptr);
    EXPECT_EQ(boxSaying("High Score: ")->getTextLabel()->getText(), "High Score: -1");
    std::filesystem::remove("assets/score.dat");
    open();
    EXPECT_EQ(boxSaying("High Score: ")->getTextLabel()->getText(), "High Score: 0");
}

TEST_F(SceneTitleTest, LaysOutTitleButtonsAndHiddenCredits) {
    SceneTitle* title = open();
    HUDText* name = boxSaying(" Moonvale ");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->getRenderPosition(), glm::vec2(640.0f, 260.0f));
    EXPECT_EQ(name->getSize(), glm::vec2(640.0f, 240.0f));
    EXPECT_EQ(title->getButtonStart()->getRenderPosition(), glm::vec2(440.0f, 560.0f));
    EXPECT_EQ(title->getButtonCredits()->getRenderPosition(), glm::vec2(640.0f, 560.0f));
    EXPECT_EQ(title->getButtonQuit()->getRenderPosition(), glm::vec2(840.0f, 560.0f));
    EXPECT_EQ(title->getButtonQuit()->getSpriteNormal()->getSize(), glm::vec2(176.0f, 48.0f));
    EXPECT_FALSE(title->getCreditsText()->getIsActive());
    EXPECT_EQ(title->getCreditsText()->getSize(),
              title->getCreditsText()->getTextLabel()->getSize() + glm::vec2(50.0f));
}

TEST_F(SceneTitleTest, FrameColourStartsGreyAndDrifts) {
    SceneTitle* title = open();
    const SDL_FColor start = title->getBoundaryColor();
    EXPECT_EQ(start.r, 0.5f);
    EXPECT_EQ(start.b, 0.5f);
    title->update(2.0f);
    const SDL_FColor later = title->getBoundaryColor();
    EXPECT_NEAR(later.r, 0.5f + 0.5f * std::sin(1.8f), 1e-6f);
    EXPECT_NEAR(later.b, 0.5f + 0.5f * std::sin(1.4f), 1e-6f);
    EXPECT_EQ(later.a, 1.0f);
}

TEST_F(SceneTitleTest, CreditsPanelFreezesTheMenuUntilAnyRelease) {
    SceneTitle* title = open();
    clickAt({640.0f, 560.0f});
    ASSERT_TRUE(title->getCreditsText()->getIsActive());
    const int hovers = played(kHover);
    pointAt({440.0f, 560.0f}); // over start, under the panel
    frames(3);
    EXPECT_EQ(played(kHover), hovers);
    EXPECT_FALSE(title->getButtonStart()->getIsHover());
    push(SDL_EVENT_MOUSE_BUTTON_DOWN, SDL_BUTTON_LEFT); // a press does not close it
    frames(1);
    EXPECT_TRUE(title->getCreditsText()->getIsActive());
    push(SDL_EVENT_MOUSE_BUTTON_UP, SDL_BUTTON_RIGHT);
    frames(1);
    EXPECT_FALSE(title->getCreditsText()->getIsActive());
    frames(1);
    EXPECT_EQ(played(kHover), hovers + 1); // the button under the cursor wakes up
    EXPECT_EQ(scene(), title);             // and the closing release was no click on start
}

TEST_F(SceneTitleTest, StartOpensTheGameAfterTheFrame) {
    open();
    clickAt({440.0f, 560.0f});
    EXPECT_NE(dynamic_cast<SceneMain*>(scene()), nullptr);
}

TEST_F(SceneTitleTest, QuitEndsTheLoop) {
    open();
    clickAt({840.0f, 560.0f});
    EXPECT_FALSE(game.getIsRunning());
    game.setRunning(true);
}

TEST_F(SceneTitleTest, MissingCreditsGiveAnEmptyPanel) {
    std::filesystem::remove("assets/credits.txt");
    SceneTitle* title = open();
    EXPECT_EQ(title->getCreditsText()->getSize(),
              glm::vec2(50.0f, 50.0f) + title->getCreditsText()->getTextLabel()->getSize());
    EXPECT_EQ(title->getCreditsText()->getTextLabel()->getText(), "");
}

TEST_F(SceneTitleTest, AKeptRunThatCannotGoOnIsRefusedOnceSayingWhyAndTheTitlePlaysOn) {
    std::string damaged = recorded("strikes.mvr");
    damaged[damaged.size() / 2] ^= 0x40;
    Replay other_rules = std::get<Replay>(decodeReplay(recorded("strikes.mvr")));
    ++other_rules.simulation_version;
    for (const auto& [bytes, why] : {std::pair{damaged, "the file is damaged"},
                                     std::pair{encodeReplay(other_rules), "its rules have changed"}}) {
        keepRun(bytes);
        SceneTitle* title = open();
        EXPECT_EQ(title->getButtonContinue(), nullptr);
        EXPECT_NE(notice().find("The run in progress cannot be continued: "), std::string::npos) << notice();
        EXPECT_NE(notice().find(why), std::string::npos) << notice();
        EXPECT_FALSE(std::filesystem::exists("assets/run.mvr"));
        EXPECT_TRUE(std::filesystem::exists("assets/run-refused.mvr")); // aside, not lost
        open();
        EXPECT_EQ(notice(), "");
    }
    clickAt({440.0f, 560.0f});
    EXPECT_NE(dynamic_cast<SceneMain*>(scene()), nullptr);
}

TEST_F(SceneTitleTest, AKeptRunThatPlaysOutOtherwiseIsNotContinued) {
    keepRun(recorded("strikes.mvr.tampered")); // ends on another state hash than its frames give
    SceneTitle* title = open();
    ASSERT_NE(title->getButtonContinue(), nullptr);
    EXPECT_EQ(title->getButtonContinue()->getRenderPosition(), glm::vec2(240.0f, 560.0f));
    clickAt({240.0f, 560.0f});
    ASSERT_NE(dynamic_cast<SceneMain*>(scene()), nullptr);
    frames(1);
    ASSERT_NE(dynamic_cast<SceneTitle*>(scene()), nullptr);
    EXPECT_EQ(notice(), "The run in progress could not be restored");
    EXPECT_EQ(game.getScore(), 0);
    EXPECT_FALSE(std::filesystem::exists("assets/run.mvr"));
    EXPECT_TRUE(std::filesystem::exists("assets/run-refused.mvr"));
}

TEST_F(SceneTitleTest, StartingAnotherGameDiscardsTheKeptRunOnlyOnceTheyAgree) {
    keepRun(recorded("strikes.mvr"));
    SceneTitle* title = open();
    clickAt({440.0f, 560.0f});
    EXPECT_EQ(scene(), title);
    ASSERT_TRUE(title->getConfirm()->getIsActive());
    pushKey(SDL_SCANCODE_RETURN); // Enter keeps it: the run is not lost by a key pressed on
    frames(1);
    EXPECT_FALSE(title->getConfirm()->getIsActive());
    EXPECT_EQ(scene(), title);
    EXPECT_TRUE(std::filesystem::exists("assets/run.mvr"));
    clickAt({440.0f, 620.0f}); // DAILY
    ASSERT_TRUE(title->getConfirm()->getIsActive());
    clickAt({640.0f, 355.0f}); // "Discard it"
    auto* daily = dynamic_cast<SceneMain*>(scene());
    ASSERT_NE(daily, nullptr);
    EXPECT_FALSE(daily->getDailyDate().empty());
    game.getRunKeeper().flush();
    EXPECT_FALSE(std::filesystem::exists("assets/run.mvr"));
}

} // namespace
