#include "Store.h"

namespace {

constexpr const char* kRunColumns = "id, day, player, name, end_hash, state, reason, claimed, score, submitted";

std::int64_t number(const std::optional<std::string>& cell) {
    return cell ? std::stoll(*cell) : 0;
}

RunRecord runOf(const Row& row) {
    RunRecord run;
    run.id = row[0].value_or("");
    run.day = row[1].value_or("");
    run.player = row[2].value_or("");
    run.name = row[3].value_or("");
    run.end_hash = row[4].value_or("");
    run.state = row[5].value_or("");
    run.reason = row[6].value_or("");
    run.claimed = number(row[7]);
    run.score = number(row[8]);
    run.submitted = number(row[9]);
    return run;
}

} // namespace

Store::Lease::Lease(Store& store) : store_(store) {
    {
        const std::lock_guard lock(store_.mutex_);
        if (!store_.idle_.empty()) {
            connection_ = std::move(store_.idle_.back());
            store_.idle_.pop_back();
        }
    }
    if (!connection_) connection_ = store_.database_->connect();
}

Store::Lease::~Lease() {
    const std::lock_guard lock(store_.mutex_);
    store_.idle_.push_back(std::move(connection_));
}

Store::Store(std::unique_ptr<Database> database) : database_(std::move(database)) {}

void Store::createTables() {
    const std::string bytes = database_->bytesType();
    const std::string integer = database_->integerType();
    Lease db(*this);
    db->query("CREATE TABLE IF NOT EXISTS runs (id TEXT PRIMARY KEY, day TEXT NOT NULL, player TEXT NOT NULL, "
              "name TEXT NOT NULL, end_hash TEXT NOT NULL, state TEXT NOT NULL, reason TEXT, claimed " +
                  integer + " NOT NULL, score " + integer + ", submitted " + integer + " NOT NULL, replay " +
                  bytes + " NOT NULL)",
              {});
    db->query("CREATE INDEX IF NOT EXISTS runs_queue ON runs (state, submitted)", {});
    db->query("CREATE INDEX IF NOT EXISTS runs_player ON runs (player, day)", {});
    db->query("CREATE INDEX IF NOT EXISTS runs_end ON runs (day, end_hash)", {});
    db->query("CREATE TABLE IF NOT EXISTS board (day TEXT NOT NULL, player TEXT NOT NULL, tag TEXT NOT NULL, "
              "name TEXT NOT NULL, score " + integer + " NOT NULL, run_id TEXT NOT NULL, submitted " + integer +
                  " NOT NULL, PRIMARY KEY (day, player))",
              {});
    db->query("CREATE INDEX IF NOT EXISTS board_rank ON board (day, score DESC, submitted)", {});
    db->query("CREATE INDEX IF NOT EXISTS board_tag ON board (day, tag)", {});
}

Store::Added Store::addRun(const RunRecord& run, const std::string& replay) {
    Lease db(*this);
    return db->transaction([&] {
        const auto same = db->query("SELECT player FROM runs WHERE id = $1", {text(run.id)});
        if (!same.empty()) return same[0][0] == run.player ? Added::SAME_BYTES : Added::TAKEN;
        db->query("INSERT INTO runs (id, day, player, name, end_hash, state, reason, claimed, score, submitted, "
                  "replay) VALUES ($1, $2, $3, $4, $5, 'queued', NULL, $6, NULL, $7, $8)",
                  {text(run.id), text(run.day), text(run.player), text(run.name), text(run.end_hash),
                   integer(run.claimed), integer(run.submitted), bytes(replay)});
        return Added::ADDED;
    });
}

std::optional<RunRecord> Store::findRun(const std::string& id) {
    Lease db(*this);
    const auto rows = db->query(std::string("SELECT ") + kRunColumns + " FROM runs WHERE id = $1", {text(id)});
    if (rows.empty()) return std::nullopt;
    return runOf(rows[0]);
}

std::optional<std::string> Store::replayBytes(const std::string& id) {
    Lease db(*this);
    const auto rows = db->query("SELECT replay FROM runs WHERE id = $1", {text(id)});
    if (rows.empty()) return std::nullopt;
    return rows[0][0];
}

std::optional<std::int64_t> Store::bestOfDay(const std::string& player, const std::string& day) {
    Lease db(*this);
    const auto rows = db->query("SELECT MAX(score) FROM runs WHERE player = $1 AND day = $2 AND state = 'verified'",
                                {text(player), text(day)});
    if (rows.empty() || !rows[0][0]) return std::nullopt;
    return number(rows[0][0]);
}

bool Store::endStateTaken(const std::string& day, const std::string& end_hash, const std::string& player) {
    Lease db(*this);
    return !db->query("SELECT 1 FROM runs WHERE day = $1 AND end_hash = $2 AND player <> $3 AND state <> 'rejected' "
                      "LIMIT 1",
                      {text(day), text(end_hash), text(player)})
                .empty();
}

std::int64_t Store::countQueued() {
    Lease db(*this);
    return number(db->query("SELECT COUNT(*) FROM runs WHERE state IN ('queued', 'verifying')", {})[0][0]);
}

std::int64_t Store::countQueuedBy(const std::string& player) {
    Lease db(*this);
    return number(db->query("SELECT COUNT(*) FROM runs WHERE player = $1 AND state IN ('queued', 'verifying')",
                            {text(player)})[0][0]);
}

std::optional<RunRecord> Store::claimNext() {
    Lease db(*this);
    const auto rows = db->transaction([&] {
        return db->query(std::string("UPDATE runs SET state = 'verifying' WHERE id = (SELECT id FROM runs WHERE "
                                     "state = 'queued' ORDER BY submitted, id LIMIT 1") +
                             database_->claimLock() + ") RETURNING " + kRunColumns,
                         {});
    });
    if (rows.empty()) return std::nullopt;
    return runOf(rows[0]);
}

void Store::verified(const std::string& id, std::int64_t score) {
    Lease db(*this);
    db->transaction([&] {
        const auto rows = db->query("UPDATE runs SET state = 'verified', score = $2 WHERE id = $1 AND state = "
                                    "'verifying' RETURNING day, player, name, submitted",
                                    {text(id), integer(score)});
        if (rows.empty()) return 0; // erased meanwhile, or already finished
        const Row& run = rows[0];
        // A player's line is their best run; a tie keeps the earlier.
        db->query("INSERT INTO board (day, player, tag, name, score, run_id, submitted) VALUES ($1, $2, $3, $4, $5, "
                  "$6, $7) ON CONFLICT (day, player) DO UPDATE SET name = excluded.name, score = excluded.score, "
                  "run_id = excluded.run_id, submitted = excluded.submitted WHERE excluded.score > board.score",
                  {text(*run[0]), text(*run[1]), text(run[1]->substr(0, 8)), text(*run[2]), integer(score), text(id),
                   integer(number(run[3]))});
        return 0;
    });
}

void Store::rejected(const std::string& id, const std::string& reason) {
    Lease db(*this);
    db->query("UPDATE runs SET state = 'rejected', reason = $2 WHERE id = $1 AND state = 'verifying'",
              {text(id), text(reason)});
}

std::int64_t Store::requeueUnfinished() {
    Lease db(*this);
    return static_cast<std::int64_t>(
        db->query("UPDATE runs SET state = 'queued' WHERE state = 'verifying' RETURNING id", {}).size());
}

std::vector<BoardRow> Store::board(const std::string& day, std::int64_t offset, std::int64_t limit) {
    Lease db(*this);
    const auto rows = db->query("SELECT name, tag, score, run_id, submitted FROM board WHERE day = $1 ORDER BY "
                                "score DESC, submitted, player LIMIT $2 OFFSET $3",
                                {text(day), integer(limit), integer(offset)});
    std::vector<BoardRow> lines;
    lines.reserve(rows.size());
    for (const Row& row : rows) {
        lines.push_back({offset + static_cast<std::int64_t>(lines.size()) + 1, row[0].value_or(""),
                         row[1].value_or(""), number(row[2]), row[3].value_or(""), number(row[4])});
    }
    return lines;
}

std::int64_t Store::boardSize(const std::string& day) {
    Lease db(*this);
    return number(db->query("SELECT COUNT(*) FROM board WHERE day = $1", {text(day)})[0][0]);
}

std::int64_t Store::rankOf(const std::string& day, std::int64_t score, std::int64_t when) {
    Lease db(*this);
    return 1 + number(db->query("SELECT COUNT(*) FROM board WHERE day = $1 AND (score > $2 OR (score = $2 AND "
                                "submitted < $3))",
                                {text(day), integer(score), integer(when)})[0][0]);
}

std::optional<std::int64_t> Store::playerRank(const std::string& day, const std::string& tag) {
    const auto rows = Lease(*this)->query("SELECT score, submitted FROM board WHERE day = $1 AND tag = $2 ORDER BY score "
                                "DESC LIMIT 1",
                                {text(day), text(tag)});
    if (rows.empty()) return std::nullopt;
    return rankOf(day, number(rows[0][0]), number(rows[0][1]));
}

std::int64_t Store::erasePlayer(const std::string& player) {
    Lease db(*this);
    return db->transaction([&] {
        db->query("DELETE FROM board WHERE player = $1", {text(player)});
        return static_cast<std::int64_t>(
            db->query("DELETE FROM runs WHERE player = $1 RETURNING id", {text(player)}).size());
    });
}

bool Store::healthy() {
    try {
        Lease db(*this);
        return !db->query("SELECT 1", {}).empty();
    } catch (const DatabaseError&) {
        return false;
    }
}
