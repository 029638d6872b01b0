#pragma once
#include "online/BoardAnswer.h"
#include "online/Http.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// What the game asks of a board besides sending runs: today's listing, a shared replay, whether a name
// passes the board's rules, and the player's leaving. Asked on a thread of its own; each answer is kept
// here for the frame to read, so no frame waits on the network.
class BoardClient {
public:
    enum class State { NONE, ASKING, DONE, FAILED };
    using Line = board_answer::Line;
    struct Listing {
        State state = State::NONE; // FAILED: the board could not be reached, or answered nonsense
        std::string date;
        int total = 0;
        std::vector<Line> top;     // the day's ten best
        std::optional<Line> own;   // the player's line, when they have one that day
        std::string best_earlier;  // the run id of the day before's best, which can be watched
        bool operator==(const Listing&) const = default;
    };
    // A name checked, a replay fetched or the player erased: the name as the board writes it, the
    // replay's bytes, the runs erased; or why not.
    struct Result {
        State state = State::NONE;
        std::string value;
        std::string why;
        int status = 0; // the board's answer; 0 when it could not be reached
        bool operator==(const Result&) const = default;
    };

    BoardClient(std::string address, std::function<std::string()> today);
    ~BoardClient();
    BoardClient(const BoardClient&) = delete;
    BoardClient& operator=(const BoardClient&) = delete;

    // Asks for today's listing and the player's place (by their tag, when they have one), unless it was
    // asked for less than 30 s ago (a title shown all day costs the board two requests a minute) and
    // nothing the game knows has changed it since (stale).
    void refreshListing(const std::string& tag, bool stale = false);
    Listing listing() const;
    // Grows whenever the listing changes: a frame asks this, and copies the listing only then.
    std::uint64_t listingVersion() const;
    void checkName(const std::string& name);
    Result nameCheck() const;
    void fetchReplay(const std::string& id);
    // The replay of the run at that place on that day's board (1: the best).
    void fetchReplayAt(const std::string& date, int rank);
    Result replay() const;
    void forget(const std::string& key);
    Result forgotten() const;

private:
    void post(std::function<void()> job);
    // Asks the board, then goes on with its answer: at once on the client's own thread on the desktop,
    // once the answer is in on the page.
    void ask(HttpRequest request, const std::function<void(const HttpResponse&)>& then);
    HttpRequest get(const std::string& path) const;
    void askListing(const std::string& date, const std::string& tag);
    void askReplay(const std::string& id);
    void set(Result& slot, Result value);

    std::string address_;
    std::function<std::string()> today_;
    mutable std::mutex mutex_;
    std::optional<std::chrono::steady_clock::time_point> listing_asked_;
    Listing listing_;
    std::uint64_t listing_version_ = 0;
    Result name_;
    Result replay_;
    Result forgotten_;
#ifdef __EMSCRIPTEN__
    void takeAnswers();
    struct Waiting {
        int exchange;
        std::function<void(const HttpResponse&)> then;
    };
    std::vector<Waiting> waiting_;
    long interval_ = 0;
#else
    void run();
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool stop_ = false;
    std::atomic<bool> cancel_{false};
    std::thread thread_; // started last, in the constructor, once everything above is ready
#endif
};
