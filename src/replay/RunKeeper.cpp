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
#include <memory>

namespace {

// No threads in the browser build; there the files are written while the page is idle between frames.
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
    reserveRoom(0);
    if (kWorker) worker_ = std::thread([this] { work(); });
}

RunKeeper::~RunKeeper() {
    if (!worker_.joinable()) {
        flush();
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

bool RunKeeper::keep(const Recorder& game, std::int32_t score, std::uint64_t hash, const std::string& daily_date,
                     bool at_once) {
    std::unique_lock lock(mutex_);
    if (busy_ && !at_once) return false;
    while (!changed_.wait_for(lock, std::chrono::hours(1), [this] { return !busy_; })) {
    }
    const Replay& so_far = game.getLast();
    reserveRoom(so_far.runs.size());
    std::vector<ReplayRun>& runs = copy_.replay.runs;
    std::vector<ReplayCheck>& checks = copy_.replay.checks;
    if (game.getGameNumber() != copied_game_ || runs.empty() || so_far.runs.size() < runs.size() ||
        so_far.checks.size() < checks.size()) {
        copy_.replay = so_far;
        copied_game_ = game.getGameNumber();
    } else {
        // The same game, grown: its last run may have grown too, and checks are only ever added.
        runs.pop_back();
        runs.insert(runs.end(), so_far.runs.begin() + static_cast<std::ptrdiff_t>(runs.size()), so_far.runs.end());
        checks.insert(checks.end(), so_far.checks.begin() + static_cast<std::ptrdiff_t>(checks.size()),
                      so_far.checks.end());
        copy_.replay.frame_count = so_far.frame_count;
    }
    copy_.replay.final_score = score;
    copy_.replay.final_hash = hash;
    copy_.daily_date = daily_date;
    pending_ = Job::KEEP;
    lock.unlock();
    changed_.notify_all();
    if (at_once) {
        flush();
    } else if (!kWorker && !idle_asked_) {
        idle_asked_ = true;
        runWhenIdle([this, alive = std::weak_ptr<bool>(alive_)] {
            if (alive.expired()) return;
            idle_asked_ = false;
            flush();
        });
    }
    return true;
}

// Room for long runs from the start, taken before the first game: growing it in a frame would copy into
// fresh pages (a page fault is what a long run's copy costs most), and in a browser grow its memory.
void RunKeeper::reserveRoom(std::size_t runs) {
    constexpr std::size_t kRoom = std::size_t{1} << 16; // 18 minutes of a browser's frames
    if (copy_.replay.runs.capacity() < std::max(kRoom, runs)) copy_.replay.runs.reserve(std::max(kRoom, 2 * runs));
    const std::size_t checks = runs / 60 + 1;
    if (copy_.replay.checks.capacity() < std::max(kRoom / 60, checks))
        copy_.replay.checks.reserve(std::max(kRoom / 60, 2 * checks));
}

void RunKeeper::forget() {
    {
        const std::lock_guard lock(mutex_);
        pending_ = Job::FORGET;
    }
    changed_.notify_all();
    if (!kWorker) flush();
}

// wait_for, not wait: the portable build runs on systems whose libstdc++ lacks the newer wait.
void RunKeeper::flush() {
    std::unique_lock lock(mutex_);
    if (!kWorker) {
        const Job job = pending_;
        pending_ = Job::NONE;
        lock.unlock();
        if (job != Job::NONE) carryOut(job);
        return;
    }
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
