#pragma once
#include "Database.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// A run as the board keeps it. The replay's bytes are kept apart (replayBytes).
struct RunRecord {
    std::string id;       // the first 32 hex digits of the SHA-256 of its bytes
    std::string day;      // YYYY-MM-DD, whose seed it was played from
    std::string player;   // the SHA-256 of the player's device key, in hex; its first 8 digits are the tag
    std::string name;     // as the player asked to be shown
    std::string end_hash; // the recorded end state, in hex
    std::string state;    // queued, verifying, verified or rejected
    std::string reason;   // why it was rejected
    std::int64_t claimed = 0; // the score the replay claims
    std::int64_t score = 0;   // the score it gave when played again, once verified
    std::int64_t submitted = 0; // seconds since 1970, UTC
};

// A line of a day's board: each player's best verified run.
struct BoardRow {
    std::int64_t rank = 0;
    std::string name;
    std::string tag;
    std::int64_t score = 0;
    std::string run_id;
    std::int64_t when = 0;
};

// The board's storage on either database, by the same statements: everything the API and the
// verifiers ask of it. Safe to call from any thread: each call borrows a connection of its own.
class Store {
public:
    explicit Store(std::unique_ptr<Database> database);
    // Makes the tables when they are not there yet.
    void createTables();

    enum class Added { ADDED, SAME_BYTES, TAKEN };
    // Adds a queued run; the same bytes from the same player again add nothing (SAME_BYTES), and from
    // another player they are somebody else's run (TAKEN).
    Added addRun(const RunRecord& run, const std::string& replay);
    std::optional<RunRecord> findRun(const std::string& id);
    std::optional<std::string> replayBytes(const std::string& id);
    // The player's best verified score that day, if any.
    std::optional<std::int64_t> bestOfDay(const std::string& player, const std::string& day);
    // A run of another player that day ended in this state: a copied replay.
    bool endStateTaken(const std::string& day, const std::string& end_hash, const std::string& player);
    std::int64_t countQueued();
    std::int64_t countQueuedBy(const std::string& player);

    // The oldest queued run, now being verified by the caller; nothing when none waits.
    std::optional<RunRecord> claimNext();
    void verified(const std::string& id, std::int64_t score);
    void rejected(const std::string& id, const std::string& reason);
    // After a restart: what was being verified when the server stopped is queued again.
    std::int64_t requeueUnfinished();

    std::vector<BoardRow> board(const std::string& day, std::int64_t offset, std::int64_t limit);
    std::int64_t boardSize(const std::string& day);
    // Where a score of that day stands: 1 + the board rows before it.
    std::int64_t rankOf(const std::string& day, std::int64_t score, std::int64_t when);
    std::optional<std::int64_t> playerRank(const std::string& day, const std::string& tag);
    // Everything held for that player; how many runs went.
    std::int64_t erasePlayer(const std::string& player);
    bool healthy();

private:
    // A connection borrowed from the pool for one call, given back after it.
    class Lease {
    public:
        explicit Lease(Store& store);
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Connection* operator->() const { return connection_.get(); }
        Connection& operator*() const { return *connection_; }

    private:
        Store& store_;
        std::unique_ptr<Connection> connection_;
    };

    std::unique_ptr<Database> database_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> idle_; // guarded by mutex_
};
