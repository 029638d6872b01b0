#include "replay/RunKeeper.h"

#include "replay/Daily.h"
#include "replay/Verify.h"
#include "shell/AtomicFile.h"
#include "shell/Platform.h"

#include <SDL3/SDL.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <filesystem>
#include <fstream>

namespace {

// No threads in the browser build; there the files are written at once.
#ifdef __EMSCRIPTEN__
constexpr bool kWorker = false;
#else
constexpr bool kWorker = true;
#endif

void removeKept(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::remove(path, ignored)) forgetFile(path);
}

} // namespace

RunKeeper::RunKeeper(const std::string& folder)
    : run_path_(folder + "/run.mvr"), day_path_(folder + "/run.day"), refused_path_(folder + "/run-refused.mvr") {
    if (kWorker) worker_ = std::thread([this] { work(); });
}

RunKeeper::~RunKeeper() {
    if (!worker_.joinable()) return;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

bool RunKeeper::keep(const Replay& so_far, std::int32_t score, std::uint64_t hash, const std::string& daily_date,
                     bool wait) {
    std::unique_lock lock(mutex_);
    if (busy_ && !wait) return false;
    while (!changed_.wait_for(lock, std::chrono::hours(1), [this] { return !busy_; })) {
    }
    // Room for long runs from the start: growing it would copy into fresh pages, and a page fault is
    // what a long run's copy costs most. Pages are touched only as the run reaches them.
    constexpr std::size_t kRoom = std::size_t{1} << 16; // 18 minutes of a browser's frames
    if (copy_.replay.runs.capacity() < so_far.runs.size())
        copy_.replay.runs.reserve(std::max(kRoom, 2 * so_far.runs.size()));
    if (copy_.replay.checks.capacity() < so_far.checks.size())
        copy_.replay.checks.reserve(std::max(kRoom / 60, 2 * so_far.checks.size()));
    copy_.replay = so_far;
    copy_.replay.final_score = score;
    copy_.replay.final_hash = hash;
    copy_.daily_date = daily_date;
    if (!kWorker) {
        carryOut(Job::KEEP);
        return true;
    }
    pending_ = Job::KEEP;
    lock.unlock();
    changed_.notify_all();
    return true;
}

void RunKeeper::forget() {
    if (!kWorker) {
        carryOut(Job::FORGET);
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        pending_ = Job::FORGET;
    }
    changed_.notify_all();
}

// wait_for, not wait: the portable build runs on systems whose libstdc++ lacks the newer wait.
void RunKeeper::flush() {
    std::unique_lock lock(mutex_);
    while (!changed_.wait_for(lock, std::chrono::hours(1), [this] { return pending_ == Job::NONE && !busy_; })) {
    }
}

void RunKeeper::work() {
    std::unique_lock lock(mutex_);
    while (true) {
        if (!changed_.wait_for(lock, std::chrono::hours(1), [this] { return pending_ != Job::NONE || stopping_; }))
            continue;
        if (pending_ == Job::NONE) return; // stopping, with nothing left to do
        const Job job = pending_;
        pending_ = Job::NONE;
        busy_ = true;
        lock.unlock();
        carryOut(job);
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

void RunKeeper::carryOut(Job job) {
    if (job == Job::FORGET) {
        removeKept(run_path_);
        removeKept(day_path_);
        said_ = false;
        return;
    }
    const KeptRun& run = copy_;
    const std::string bytes = encodeReplay(run.replay);
    // The day before the run: a daily run's file is never there without its day.
    const bool day_kept =
        run.daily_date.empty() ? (removeKept(day_path_), true) : writeFileAtomically(day_path_, run.daily_date);
    if (!day_kept || !writeFileAtomically(run_path_, bytes)) {
        if (said_) return;
        SDL_Log("The run in progress cannot be kept in %s: the folder is not writable or the disk is full",
                run_path_.c_str());
        said_ = true;
        return;
    }
    if (said_) return;
    SDL_Log("The run in progress is kept in %s, and again every few seconds: seed %u, %u frames, state hash "
            "%016" PRIx64,
            run_path_.c_str(), run.replay.seed, run.replay.frame_count, run.replay.final_hash);
    said_ = true;
}

std::variant<std::monostate, KeptRun, std::string> RunKeeper::read() {
    flush();
    std::error_code error;
    if (!std::filesystem::exists(run_path_, error)) return std::monostate{};
    std::string why;
    std::optional<Replay> replay = readReplayFile(run_path_, why);
    if (!replay) return why;
    KeptRun run{std::move(*replay), {}};
    // The day counts only when it is the day whose seed the run has.
    char day[16] = {};
    std::ifstream(day_path_, std::ios::binary).read(day, sizeof day - 1);
    if (isDay(day) && dailySeed(day) == run.replay.seed) run.daily_date = day;
    return run;
}

void RunKeeper::setAside() {
    flush();
    std::error_code error;
    std::filesystem::rename(run_path_, refused_path_, error);
    if (error) {
        removeKept(run_path_);
    } else {
        forgetFile(run_path_);
    }
    removeKept(day_path_);
    said_ = false;
}
