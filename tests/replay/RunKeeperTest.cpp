#include "replay/Daily.h"
#include "replay/RunKeeper.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

struct RunKeeperTest : ::testing::Test {
    // Frames of one game; changing keys start a new run of frames, and a check comes every second.
    void play(int frames, bool alternate) {
        for (int i = 0; i < frames; ++i) {
            FrameInput frame;
            frame.dt = 1.0f / 60.0f;
            frame.up = alternate && i % 2 == 0;
            recorder.frame(frame);
            recorder.afterUpdate(frame.dt, [i] { return static_cast<std::uint64_t>(i); });
        }
    }
    KeptRun read() {
        std::variant<std::monostate, KeptRun, std::string> kept = keeper.read();
        EXPECT_TRUE(std::holds_alternative<KeptRun>(kept));
        return std::holds_alternative<KeptRun>(kept) ? std::get<KeptRun>(kept) : KeptRun{};
    }

    TempDir folder;
    RunKeeper keeper{folder.path().string()};
    Recorder recorder;
};

// Kept again and again, only what was added is copied: the file must still be each game, whole.
TEST_F(RunKeeperTest, EachKeepIsTheWholeGameSoFarEvenWhenOnlyWhatWasAddedIsCopied) {
    recorder.begin(7, false, 70); // assisted: continued, it must run at its speed
    play(100, false);
    ASSERT_TRUE(keeper.keep(recorder, 5, 99, ""));
    play(50, false); // the last run grows
    play(90, true);
    ASSERT_TRUE(keeper.keep(recorder, 6, 100, "2026-12-10"));
    KeptRun kept = read();
    EXPECT_EQ(kept.replay.runs, recorder.getLast().runs);
    EXPECT_EQ(kept.replay.checks, recorder.getLast().checks);
    EXPECT_EQ(kept.replay.frame_count, 240u);
    EXPECT_EQ(kept.replay.final_score, 6);
    EXPECT_EQ(kept.replay.final_hash, 100u);
    EXPECT_EQ(kept.daily_date, "") << "a day whose seed the run does not have";
    EXPECT_EQ(kept.replay.game_speed, 70);
    // The next game, of more runs than the last: kept as itself, not as the last one grown.
    recorder.begin(dailySeed("2026-12-10"), false);
    play(300, true);
    ASSERT_TRUE(keeper.keep(recorder, 0, 1, "2026-12-10"));
    kept = read();
    EXPECT_EQ(kept.replay.seed, dailySeed("2026-12-10"));
    EXPECT_EQ(kept.replay.game_speed, Replay::FULL_SPEED);
    EXPECT_EQ(kept.replay.runs, recorder.getLast().runs);
    EXPECT_EQ(kept.daily_date, "2026-12-10");
}

TEST_F(RunKeeperTest, TheLastAskedOfKeepAndForgetIsWhatStays) {
    recorder.begin(7, false);
    play(10, false);
    ASSERT_TRUE(keeper.keep(recorder, 0, 1, "", true));
    keeper.forget();
    EXPECT_TRUE(std::holds_alternative<std::monostate>(keeper.read()));
    keeper.forget();
    ASSERT_TRUE(keeper.keep(recorder, 0, 2, "", true));
    EXPECT_EQ(read().replay.final_hash, 2u);
}

} // namespace
