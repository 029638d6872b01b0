#pragma once
#include "RateLimiter.h"
#include "Store.h"
#include "Verifier.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <functional>
#include <map>
#include <optional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A request as the board sees it, whatever server received it.
struct Request {
    std::string method;
    std::string path;
    std::map<std::string, std::string> query;
    std::string content_type;
    std::string authorization; // the Authorization header
    std::string client;        // the caller's address, for its rate limit only; never stored
    std::string body;
};

struct Response {
    int status = 200;
    std::string body;
    std::string content_type = "application/json";
    int retry_after = 0; // seconds, sent as Retry-After when set
};

struct BoardSettings {
    std::string verifier;          // the game, whose --verify plays runs again
    std::string scratch;           // a folder for the replays being verified
    VerifierLimits limits;
    int workers = 2;
    int queue_size = 256;          // queued runs beyond this get 503
    int queued_per_player = 3;     // runs of one player waiting at once
    int runs_burst = 5;            // runs a player or an address may send at once...
    int run_interval_seconds = 12; // ...and then one every this long
    std::size_t max_replay_bytes = std::size_t{256} * 1024;
    std::function<std::time_t()> now = [] { return std::time(nullptr); };
};

// The day's board: the JSON API over the store, and the workers that play each queued run again before
// it is ranked.
class Board {
public:
    Board(Store& store, BoardSettings settings);
    ~Board();
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    Response handle(const Request& request);
    // Runs left half-verified by a stopped server are queued again; then the workers start.
    void start();
    void stop();

private:
    Response daily();
    Response submit(const Request& request);
    Response runStatus(const std::string& id);
    Response replay(const std::string& id);
    Response board(const std::string& day, const Request& request);
    Response around(const std::string& day, const std::string& tag, const Request& request);
    Response erase(const Request& request);
    Response nameCheck(const Request& request);
    Response health();
    // The player's hash from "Authorization: Bearer <64 hex digits>", or empty.
    static std::string playerOf(const Request& request);
    void work();
    // A board's listing as answered within the last second, unless a run was verified or erased since;
    // while one caller asks anew, the others get the last answer.
    std::optional<Response> cached(const std::string& key);
    // Nothing: forgotten, for the next caller to ask.
    void keep(const std::string& key, const std::optional<Response>& response);

    Store& store_;
    BoardSettings settings_;
    RateLimiter by_player_;
    RateLimiter by_address_;
    std::string address_salt_; // addresses are limited by a salted hash, never kept as they are
    std::mutex submit_mutex_;  // one submission at a time is checked against the queue and the best
    std::mutex wake_mutex_;
    std::condition_variable wake_;
    std::atomic<bool> running_{false};
    std::vector<std::thread> workers_;
    struct Kept {
        Response response;
        std::uint64_t version = 0;
        std::chrono::steady_clock::time_point at;
        bool refreshing = false; // a caller is asking the database anew
    };
    std::mutex cache_mutex_;
    std::map<std::string, Kept> cache_;      // guarded by cache_mutex_
    std::atomic<std::uint64_t> version_{0}; // goes up whenever a board may have changed here
};

// A JSON error body: {"error": why}.
[[nodiscard]] Response refusal(int status, const std::string& why, int retry_after = 0);
