#include "TestPaths.h"
#include "actors/Player.h"
#include "components/TextLabel.h"
#include "replay/Daily.h"
#include "replay/Replay.h"
#include "scenes/SceneMain.h"
#include "scenes/SceneTitle.h"
#include "scenes/ScoreFile.h"
#include "shell/Preferences.h"
#include "support/SceneDriver.h"
#include "ui/HUDText.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr float kDt = 1.0f / 60.0f;

// Scripted games whose recordings are kept in tests/data: a change that alters what a game produces
// fails here, and `moonvale --verify` plays the same files on every build. MOONVALE_WRITE_REFERENCE=1
// records them again (see CONTRIBUTING.md).
struct GoldenReplayTest : SceneDriver {
    SceneMain* start(std::uint32_t seed) {
        dropPendingEvents();
        game.seed(seed);
        auto* main = new SceneMain;
        game.changeScene(main);
        return main;
    }
    void step() {
        game.handleEvents();
        game.update(kDt);
    }
    // The recording against the stored one: same seed, frames, checks and end.
    void expectStored(const std::string& name, const Replay& made) {
        const std::string path = std::string(MOONVALE_TEST_DATA) + "/" + name;
        if (const char* write = std::getenv("MOONVALE_WRITE_REFERENCE"); write && *write == '1') {
            std::ofstream(path, std::ios::binary) << encodeReplay(made);
            Replay tampered = made;
            tampered.final_hash ^= 1u; // a game that came out otherwise, for the mismatch's exit code
            if (name == "strikes.mvr")
                std::ofstream(path + ".tampered", std::ios::binary) << encodeReplay(tampered);
        }
        std::ifstream file(path, std::ios::binary);
        const auto stored = decodeReplay(std::string{std::istreambuf_iterator<char>(file), {}});
        ASSERT_TRUE(std::holds_alternative<Replay>(stored)) << name << ": " << std::get<std::string>(stored);
        const Replay& kept = std::get<Replay>(stored);
        EXPECT_EQ(kept.seed, made.seed);
        EXPECT_EQ(kept.runs, made.runs) << name << ": the inputs were recorded otherwise";
        EXPECT_EQ(kept.checks, made.checks) << name << ": the game came out otherwise; if on purpose, "
                                            << "raise Replay::SIMULATION_VERSION and record again";
        EXPECT_EQ(kept.final_score, made.final_score);
        EXPECT_EQ(kept.final_hash, made.final_hash);
        // Played by other rules, it would come out wrong: it is refused, saying so.
        Replay other_rules = made;
        ++other_rules.simulation_version;
        const auto refused = decodeReplay(encodeReplay(other_rules));
        ASSERT_TRUE(std::holds_alternative<std::string>(refused));
        EXPECT_NE(std::get<std::string>(refused).find("simulation version"), std::string::npos);
    }
};

// A walk, then a strike at an enemy every period frames (130: whenever the weapon is ready): it scores.
void playStrikes(GoldenReplayTest& test, SceneMain* main, int period = 130) {
    auto& keys = test.keys;
    for (int frame = 0; frame < 900; ++frame) {
        keys[SDL_SCANCODE_D] = frame < 30;
        // The cursor a frame ahead of the click, as a player's hand moves before it presses.
        if (frame % period == period - 2) {
            for (ObjectWorld* object : main->getChildrenWorld()) {
                if (object->getType() != ObjectType::ENEMY || !object->getIsActive()) continue;
                test.pointAt(main->worldToScreen(object->getPosition()));
                break;
            }
        }
        if (frame % period == period - 1) {
            test.push(SDL_EVENT_MOUSE_BUTTON_DOWN, SDL_BUTTON_LEFT);
            test.push(SDL_EVENT_MOUSE_BUTTON_UP, SDL_BUTTON_LEFT);
        }
        test.step();
    }
    keys[SDL_SCANCODE_D] = false;
}

TEST_F(GoldenReplayTest, StrikesThatScore) {
    playStrikes(*this, start(7));
    EXPECT_GT(game.getScore(), 0);
    game.changeScene(new SceneTitle); // left: the recording ends here
    expectStored("strikes.mvr", game.getRecorder().getLast());
}

// The same walk and strikes at 70 % speed: the world runs slower (ten seconds of game time in fifteen of
// play), the replay says so, and the score is the best of that speed, the ordinary high score untouched.
TEST_F(GoldenReplayTest, AnAssistedGameRunsSlowerAndKeepsItsBestApart) {
    std::filesystem::remove("assets/score-speed70.dat");
    ASSERT_TRUE(writeScoreFile("assets/score.dat", 1000000));
    game.setHighScore(1000000);
    game.getPreferences()->setGameSpeed(70);
    playStrikes(*this, start(7), 190); // the weapon is ready as often in game time
    EXPECT_GT(game.getScore(), 0);
    const int score = game.getScore();
    auto* title = new SceneTitle;
    game.changeScene(title);
    EXPECT_NE(title->getScoresText()->getTextLabel()->getText().find("Best at 70 % speed: " + std::to_string(score)),
              std::string::npos);
    game.getPreferences()->setGameSpeed(100);
    const Replay& made = game.getRecorder().getLast();
    EXPECT_EQ(made.game_speed, 70);
    EXPECT_EQ(made.checks.size(), 10u);
    EXPECT_EQ(readScoreFile("assets/score.dat"), 1000000);
    EXPECT_EQ(game.getHighScore(), 1000000);
    EXPECT_EQ(readScoreFile("assets/score-speed70.dat"), score);
    EXPECT_TRUE(std::filesystem::exists("assets/best-speed70.mvr"));
    expectStored("assisted.mvr", made);
    // A speed the game does not offer is refused, never played at a guess.
    for (const int speed : {55, 40}) {
        Replay odd = made;
        odd.game_speed = speed;
        const auto refused = decodeReplay(encodeReplay(odd));
        ASSERT_TRUE(std::holds_alternative<std::string>(refused)) << speed;
        EXPECT_NE(std::get<std::string>(refused).find("not one of the game's assisted speeds"), std::string::npos);
    }
    std::filesystem::remove("assets/score.dat");
}

// Two strikes in one frame, at two points: the first lands, and the game played back strikes there too.
// The game is left by its Back button in a frame that completes a second of play, whose check the
// recording must hold as the game played back does.
TEST_F(GoldenReplayTest, TwoStrikesInOneFramePlayBackAsPlayed) {
    start(3);
    for (int frame = 0; frame < 130; ++frame) // past the first cool-down
        step();
    for (const glm::vec2 at : {glm::vec2(200.0f, 150.0f), glm::vec2(1000.0f, 600.0f)}) {
        SDL_Event press{};
        press.type = SDL_EVENT_MOUSE_BUTTON_DOWN;
        press.button.button = SDL_BUTTON_LEFT;
        press.button.windowID = SDL_GetWindowID(game.getWindow());
        press.button.x = at.x;
        press.button.y = at.y;
        SDL_PushEvent(&press);
    }
    for (int frame = 0; frame < 20; ++frame) // the spell still in the world at the end
        step();
    pointAt({1230.0f, 690.0f}); // BACK
    step();
    push(SDL_EVENT_MOUSE_BUTTON_DOWN, SDL_BUTTON_LEFT);
    push(SDL_EVENT_MOUSE_BUTTON_UP, SDL_BUTTON_LEFT);
    game.handleEvents();
    game.update(0.6f); // 2.52 s of play become 3.12
    ASSERT_FALSE(game.getRecorder().isRecording()) << "BACK did not end the game";
    const Replay played = game.getRecorder().getLast();
    ASSERT_EQ(played.checks.size(), 3u);
    game.applyPendingScene();
    game.playBack(played);
    game.changeScene(new SceneMain);
    while (!game.isPlaybackOver())
        step();
    game.changeScene(nullptr);
    EXPECT_EQ(game.getRecorder().getLast().checks, played.checks);
    EXPECT_EQ(game.getRecorder().getLast().final_hash, played.final_hash);
}

// The touch stick's tilt, slow motion held, a pause, and then standing in the waves until the game
// is over.
TEST_F(GoldenReplayTest, SlowPauseAndFall) {
    SceneMain* main = start(11);
    for (int frame = 0; frame < 60 * 60 && game.getRecorder().isRecording(); ++frame) {
        keys[SDL_SCANCODE_LSHIFT] = frame >= 60 && frame < 120;
        if (frame == 150 || frame == 180) pushKey(SDL_SCANCODE_ESCAPE);
        if (frame < 40) {
            const Uint32 type = frame == 0    ? SDL_EVENT_FINGER_DOWN
                                : frame == 39 ? SDL_EVENT_FINGER_UP
                                              : SDL_EVENT_FINGER_MOTION;
            pushFinger(type, 1,
                       {300.0f - static_cast<float>(frame), 400.0f + static_cast<float>(frame) / 2.0f});
        }
        step();
    }
    keys[SDL_SCANCODE_LSHIFT] = false;
    EXPECT_FALSE(main->getPlayer()->getIsActive()) << "the ghost did not fall within a minute";
    expectStored("falls.mvr", game.getRecorder().getLast());
}

// Daily runs of a test day, as the board server's tests send them: one that scores, one that falls.
// Each recording is taken as soon as it has what it shows, before the game is over and keeps a daily
// file of that day here.
TEST_F(GoldenReplayTest, DailyRunsOfATestDay) {
    const std::string day = "2026-12-10";
    dropPendingEvents();
    auto* scoring = new SceneMain(day);
    game.changeScene(scoring);
    for (int frame = 0; frame < 1800 && game.getScore() == 0 && scoring->getPlayer()->getIsActive(); ++frame) {
        // Away from the first wave's side, striking at the nearest enemy whenever the weapon is ready.
        keys[SDL_SCANCODE_A] = frame < 40;
        if (frame % 125 == 123) {
            const glm::vec2 ghost = scoring->getPlayer()->getPosition();
            const ObjectWorld* nearest = nullptr;
            for (ObjectWorld* object : scoring->getChildrenWorld()) {
                if (object->getType() != ObjectType::ENEMY || !object->getIsActive()) continue;
                if (!nearest || glm::distance(object->getPosition(), ghost) < glm::distance(nearest->getPosition(), ghost))
                    nearest = object;
            }
            if (nearest) pointAt(scoring->worldToScreen(nearest->getPosition()));
        }
        if (frame % 125 == 124) {
            push(SDL_EVENT_MOUSE_BUTTON_DOWN, SDL_BUTTON_LEFT);
            push(SDL_EVENT_MOUSE_BUTTON_UP, SDL_BUTTON_LEFT);
        }
        step();
    }
    keys = {};
    EXPECT_GT(game.getScore(), 0);
    expectStored("daily-strikes.mvr", game.getRecorder().finish(game.getScore(), scoring->stateHash()));
    game.setScore(0);
    auto* falling = new SceneMain(day);
    game.changeScene(falling);
    for (int frame = 0; frame < 60 * 60 && falling->getPlayer()->getIsActive(); ++frame)
        step();
    EXPECT_FALSE(falling->getPlayer()->getIsActive()) << "the ghost did not fall within a minute";
    expectStored("daily-falls.mvr", game.getRecorder().finish(game.getScore(), falling->stateHash()));
}

// The day's run starts from the date and keeps its best game apart (the score in its replay), the
// older days' replays going; the title shows it beside the high score.
TEST_F(GoldenReplayTest, TheDailyRunKeepsTheDaysBest) {
    std::ofstream("assets/daily-2000-01-01.mvr") << "yesterday's";
    dropPendingEvents();
    const std::string today = todayInUtc();
    auto* main = new SceneMain(today);
    game.changeScene(main);
    EXPECT_EQ(main->getSeed(), dailySeed(today));
    EXPECT_EQ(dailySeed("2026-12-09"), 20261209u);
    step();
    game.setScore(30);
    game.changeScene(new SceneTitle);
    EXPECT_EQ(dailyBest(today), 30);
    EXPECT_FALSE(std::filesystem::exists("assets/daily-2000-01-01.mvr"));
}

} // namespace
