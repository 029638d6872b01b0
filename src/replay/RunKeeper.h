#pragma once
#include "replay/Replay.h"

#include <condition_variable>
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
// process, a crash or a closed tab does not end it. On the desktop a thread of its own writes the files, and
// keeping costs the frame only a copy of the game so far; a browser writes them at once, into storage that
// outlives the page.
class RunKeeper {
public:
    explicit RunKeeper(const std::string& folder);
    ~RunKeeper(); // what was asked is done first
    RunKeeper(const RunKeeper&) = delete;
    RunKeeper& operator=(const RunKeeper&) = delete;

    // Keeps the game so far, ending on the score and state hash it has now. False, and nothing done, while
    // the last one is still being written: the frame does not wait for it, unless told to.
    bool keep(const Replay& so_far, std::int32_t score, std::uint64_t hash, const std::string& daily_date,
              bool wait = false);
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

    std::string run_path_;
    std::string day_path_;
    std::string refused_path_;
    std::mutex mutex_;
    std::condition_variable changed_;
    // What is to be kept, copied into storage that stays from one keep to the next (a fresh copy of a long
    // run costs the frame a millisecond in page faults alone); the thread reads it while busy_.
    KeptRun copy_;
    Job pending_ = Job::NONE; // the latest asked for and not yet started: it overrides any before it
    bool busy_ = false;
    bool stopping_ = false;
    bool said_ = false; // the log names the first keep of each run
    std::thread worker_;
};
