#include "ui/BoardQuestion.h"

#include "online/BoardLink.h"
#include "scenes/SceneTitle.h"
#include "shell/Preferences.h"
#include "support/SceneDriver.h"
#include "support/TestFiles.h"

#include <chrono>
#include <fstream>
#include <thread>

namespace {

constexpr const char* kSettings = "assets/settings.ini";

struct BoardQuestionTest : SceneDriver {
    void TearDown() override {
        game.setBoardLink(nullptr);
        std::ofstream(kSettings) << "controls_seen=true\n";
        game.getPreferences()->load();
        SceneDriver::TearDown();
    }
    void pushText(const char* text) {
        SDL_Event event{};
        event.type = SDL_EVENT_TEXT_INPUT;
        event.text.text = text; // a literal: it outlives the event
        event.text.windowID = SDL_GetWindowID(game.getWindow());
        SDL_PushEvent(&event);
        game.frame();
    }
    void pressKey(SDL_Scancode key) {
        pushKey(key);
        game.frame();
    }
    static std::size_t letters(const std::string& text) {
        std::size_t count = 0;
        for (const char c : text)
            count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return count;
    }
};

// What the sessions under X and in Chromium do not show: the name is whole letters, 16 at most however
// an input method commits them, Backspace takes a whole letter and control characters are no letters;
// a board that cannot be reached to check the name takes it as typed (the board judges it with the
// run), the answer is kept so it is not asked again, and sending starts under the new name; a player
// the board forgot gets a new key.
TEST_F(BoardQuestionTest, TheNameIsWholeLettersAndAnUnreachableBoardTakesItAsTyped) {
    const TempDir dir;
    std::ofstream(kSettings) << "controls_seen=true\n";
    game.getPreferences()->load();
    game.setBoardLink(std::make_unique<BoardLink>("http://127.0.0.1:1", dir.path().string())); // nothing listens there
    auto* title = new SceneTitle;
    game.changeScene(title);
    dropPendingEvents();
    BoardQuestion* question = title->getBoardQuestion();
    bool answered = false;
    bool sends = false;
    question->open([&](bool agreed) {
        answered = true;
        sends = agreed;
    });
    ASSERT_TRUE(question->getIsActive());
    EXPECT_EQ(question->getName().rfind("Ghost-", 0), 0u) << "a name is filled in";

    for (int i = 0; i < 12; ++i)
        pressKey(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(question->getName(), "");
    for (int i = 0; i < 5; ++i)
        pushText("ゆうれい");
    EXPECT_EQ(letters(question->getName()), 16u);
    EXPECT_EQ(question->getName().size(), 48u) << "no letter cut in its middle";
    pressKey(SDL_SCANCODE_BACKSPACE);
    pushText("\x01\x7f");
    EXPECT_EQ(question->getName().size(), 45u);

    pressKey(SDL_SCANCODE_RETURN);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!answered && std::chrono::steady_clock::now() < deadline) {
        game.frame();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(answered) << question->getMessage();
    EXPECT_TRUE(sends);
    const Settings& settings = game.getPreferences()->getSettings();
    EXPECT_TRUE(settings.board_asked && settings.board_send);
    EXPECT_EQ(settings.board_name, question->getName());
    ASSERT_NE(game.getBoard(), nullptr) << "sending started";

    BoardLink* link = game.getBoardLink();
    const std::optional<std::string> key = link->key();
    ASSERT_TRUE(key);
    EXPECT_EQ(link->tag(), BoardLink::tagOf(*key));
    ASSERT_TRUE(link->renewKey());
    EXPECT_NE(link->key(), key);
    EXPECT_EQ(link->tag(), BoardLink::tagOf(*link->key())) << "the sender goes on under the new key";
}

// Large text draws the choices lower and further apart: a click on the words where they are drawn picks
// them (by the normal layout's rows it would land below both).
TEST_F(BoardQuestionTest, InLargeTextAChoiceIsClickedWhereItIsDrawn) {
    const TempDir dir;
    std::ofstream(kSettings) << "controls_seen=true\ntext_size=large\n";
    game.getPreferences()->load();
    game.setBoardLink(std::make_unique<BoardLink>("http://127.0.0.1:1", dir.path().string())); // nothing listens there
    auto* title = new SceneTitle;
    game.changeScene(title);
    dropPendingEvents();
    std::optional<bool> sends;
    title->getBoardQuestion()->open([&](bool agreed) { sends = agreed; });
    clickAt({640.0f, 506.0f}); // "Do not send", as seen on the large question's screenshot
    EXPECT_EQ(sends, std::optional(false));
}

} // namespace
