#pragma once
#include "replay/Recorder.h"
#include "replay/Replay.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <variant>

// A run in progress as it was kept: the game so far, ending on the state it had then (the replay's final
// score and state hash), and its day when it is a daily run.
struct KeptRun {
    Replay replay;
    std::string daily_date; // empty for an ordinary game
};

// Keeps the run being played in assets/ (run.mvr, and run.day beside it for a daily run), so that a killed
// process, a crash or a closed tab does not end it. Keeping costs the frame only a copy of the game so far:
// the files are written by a thread of its own on the desktop, and while the page is idle between frames
// in a browser.
class RunKeeper {
public:
    explicit RunKeeper(const std::string& folder);
    ~RunKeeper(); // what was asked is done first
    RunKeeper(const RunKeeper&) = delete;
    RunKeeper& operator=(const RunKeeper&) = delete;

    // Keeps the game the recorder has so far, ending on the score and state hash it has now. False, and nothing done, while
    // the last one is still being written: the frame does not wait for it. at_once: the game may be gone
    // right after (its window or its page is closing), so it is written before this returns.
    bool keep(const Recorder& game, std::int32_t score, std::uint64_t hash, const std::string& daily_date,
              bool at_once = false);
    void forget();
    // Waits until what was asked is done.
    void flush();
    // What is kept, once what was asked is done: nothing, a run this game can continue, or why the one
    // there cannot be.
    [[nodiscard]] std::variant<std::monostate, KeptRun, std::string> read();
    // A kept run that cannot be continued goes aside, to run-refused.mvr, so that it is refused once.
    void setAside();

private:
    enum class Job { NONE, KEEP, FORGET };
    void work();
    void carryOut(Job job);
    void reserveRoom(std::size_t runs);

    std::string run_path_;
    std::string day_path_;
    std::string refused_path_;
    std::mutex mutex_;
    std::condition_variable changed_;
    // What is to be kept, copied into storage that stays from one keep to the next: only what the game
    // added since the last keep is copied (a whole long run costs a browser's frame a millisecond). The
    // thread reads it while busy_.
    KeptRun copy_;
    std::uint32_t copied_game_ = 0; // the recorder's game number of what copy_ holds
    Job pending_ = Job::NONE; // the latest asked for and not yet started: it overrides any before it
    bool busy_ = false;
    bool stopping_ = false;
    bool said_ = false;      // the log names the first keep of each run
    bool idle_asked_ = false; // a browser's idle time is asked for the writing
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::thread worker_;
};
