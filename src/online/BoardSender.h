#pragma once
#include "online/Http.h"
#include "online/RunQueue.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// Sends the queued daily runs to the board on a thread of its own, so that no frame waits on the
// network: a run is posted, then asked after until the board has verified or refused it. A run the board
// could not take now (no answer, 429, 503, another 5xx) waits and goes again, after a doubling, jittered
// wait from first_wait up to 5 minutes, or longer when the board says so (Retry-After). A refusal for
// good (another 4xx) drops the run and says why. The queue is on disk: a run outlives the game.
class BoardSender {
public:
    struct Config {
        std::string address; // as parseBoardAddress gives it
        std::string key;     // the device key
        std::string name;    // the player's name on the board; empty: the board makes one
        std::string queue_folder;
        std::function<std::string()> today; // YYYY-MM-DD in UTC: runs of earlier days are dropped
        double first_wait = 2.0;            // seconds before the first retry
        double poll_wait = 1.0;             // between asks for a run's verdict
    };
    enum class State { IDLE, SENDING, OFFLINE, WAITING, VERIFIED, REJECTED };
    struct Status {
        State state = State::IDLE;
        std::string date;   // the run's day
        std::string reason; // why the board refused it, or cannot be reached
        int score = 0;
        int rank = 0;
        int of = 0;

        bool operator==(const Status&) const = default;
    };

    explicit BoardSender(Config config);
    ~BoardSender();
    BoardSender(const BoardSender&) = delete;
    BoardSender& operator=(const BoardSender&) = delete;

    // Keeps the run on disk and wakes the sender; gives the run's ticket for statusOf, or an empty one when
    // it cannot be kept.
    std::string queue(const std::string& date, const std::string& replay_bytes);
    // That run's: IDLE while it waits its turn.
    Status statusOf(const std::string& ticket) const;
    // How many runs the board has verified since the game started: the listing is stale once it grows.
    int verifiedCount() const { return verified_.load(); }

private:
    // What follows a post: the run's id, to ask after its verdict; or a wait before the next try.
    struct Next {
        std::string id;
        double wait = 0.0;
    };
    HttpRequest postRequest(const std::string& bytes) const;
    HttpRequest verdictRequest(const std::string& id) const;
    Next afterPost(const RunQueue::Entry& entry, const std::string& ticket, const HttpResponse& response, int& failures);
    // How long before asking again; nothing once the verdict is in.
    std::optional<double> afterVerdict(const std::string& ticket, const std::string& date, const HttpResponse& response,
                                       int& failures);
    void setStatus(const std::string& ticket, const Status& status);
    double retryWait(int failures, int retry_after);

    Config config_;
    RunQueue queue_;
    mutable std::mutex mutex_;
    std::vector<std::pair<std::string, Status>> recent_; // the latest runs' statuses, by ticket
    std::atomic<int> verified_{0};
#ifdef __EMSCRIPTEN__
    void step();
    struct {
        RunQueue::Entry entry;
        std::string ticket;
        std::string id;          // the run asked after, once the board took it
        int exchange = 0;        // the answer awaited, if any
        int failures = 0;
        double until = 0.0;      // nothing happens before then (seconds since start)
        double asked_since = 0.0;
    } web_;
    long interval_ = 0;
#else
    void run();
    void followVerdict(const std::string& ticket, const std::string& id, const std::string& date);
    // Waits, or until the game stops; false when it stops.
    bool waitFor(double seconds);
    std::condition_variable wake_;
    bool stop_ = false;
    std::atomic<bool> cancel_{false}; // ends an exchange under way when the game stops
    bool woken_ = false;
    std::thread thread_; // started last, in the constructor, once everything above is ready
#endif
};
