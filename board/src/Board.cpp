#include "Board.h"

#include "RunChecks.h"
#include "Names.h"
#include "replay/Sha256.h"
#include "replay/Daily.h"
#include "replay/Hex.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <fstream>
#include <random>
#include <regex>

using nlohmann::json;

namespace {

constexpr int kMostListed = 100;

Response ok(const json& body, int status = 200) {
    return {status, body.dump(-1, ' ', false, json::error_handler_t::replace), "application/json", 0};
}

// A number in [low, high] from the query, the fallback when absent; nothing when malformed.
std::optional<int> queryNumber(const Request& request, const std::string& name, int fallback, int low, int high) {
    const auto found = request.query.find(name);
    if (found == request.query.end()) return fallback;
    int value = 0;
    const std::string& text = found->second;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
    return value;
}

json rowJson(const BoardRow& row) {
    return {{"rank", row.rank}, {"name", row.name}, {"tag", row.tag}, {"score", row.score},
            {"id", row.run_id}, {"when", row.when}};
}

std::vector<std::string> split(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t at = 0;
    while (at < path.size()) {
        const std::size_t next = path.find('/', at);
        const std::string part = path.substr(at, next - at);
        if (!part.empty()) parts.push_back(part);
        if (next == std::string::npos) break;
        at = next + 1;
    }
    return parts;
}

} // namespace

Response refusal(int status, const std::string& why, int retry_after) {
    Response response = ok(json{{"error", why}}, status);
    response.retry_after = retry_after;
    return response;
}

Board::Board(Store& store, BoardSettings settings)
    : store_(store), settings_(std::move(settings)),
      by_player_(settings_.runs_burst, std::chrono::seconds(settings_.run_interval_seconds)),
      by_address_(settings_.runs_burst * 4, std::chrono::seconds(settings_.run_interval_seconds) / 4) {
    std::random_device random;
    for (int i = 0; i < 4; ++i)
        address_salt_ += std::to_string(random());
}

Board::~Board() {
    stop();
}

void Board::start() {
    if (const std::int64_t again = store_.requeueUnfinished(); again > 0)
        (void)std::fprintf(stderr, "moonvale-board: %lld runs half-verified when the board stopped are queued again\n",
                     static_cast<long long>(again));
    running_ = true;
    for (int i = 0; i < settings_.workers; ++i)
        workers_.emplace_back([this] { work(); });
}

void Board::stop() {
    running_ = false;
    wake_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
    workers_.clear();
}

Response Board::handle(const Request& request) {
    try {
        const std::vector<std::string> parts = split(request.path);
        if (parts.size() < 2 || parts[0] != "v1") return refusal(404, "no such address");
        const std::size_t n = parts.size();
        const std::string& method = request.method;
        if (n == 2 && parts[1] == "health" && method == "GET") return health();
        if (n == 2 && parts[1] == "daily" && method == "GET") return daily();
        if (n == 2 && parts[1] == "runs") return method == "POST" ? submit(request) : refusal(405, "runs are sent with POST");
        if (n == 3 && parts[1] == "runs" && method == "GET") return runStatus(parts[2]);
        if (n == 4 && parts[1] == "runs" && parts[3] == "replay" && method == "GET") return replay(parts[2]);
        if (parts[1] == "boards" && method == "GET" && (n == 3 || (n == 5 && parts[3] == "around"))) {
            // The most read of all: answered from what was just answered while nothing changed.
            std::string key = request.path;
            for (const auto& [name, value] : request.query)
                key.append("\n").append(name).append("=").append(value);
            if (auto kept = cached(key)) return *kept;
            Response response;
            try {
                response = n == 3 ? board(parts[2], request) : around(parts[2], parts[4], request);
            } catch (...) {
                keep(key, std::nullopt); // the next caller asks again
                throw;
            }
            keep(key, response);
            return response;
        }
        if (n == 2 && parts[1] == "names" && method == "GET") return nameCheck(request);
        if (n == 3 && parts[1] == "players" && parts[2] == "me")
            return method == "DELETE" ? erase(request) : refusal(405, "a player is erased with DELETE");
        return refusal(404, "no such address");
    } catch (const DatabaseError& error) {
        (void)std::fprintf(stderr, "moonvale-board: database: %s\n", error.what());
        return refusal(503, "the board's database is unavailable", 5);
    }
}

std::optional<Response> Board::cached(const std::string& key) {
    const std::lock_guard lock(cache_mutex_);
    const auto found = cache_.find(key);
    if (found == cache_.end()) return std::nullopt;
    Kept& kept = found->second;
    // Another node's verdicts reach this one's listings within a second.
    const bool fresh = kept.version == version_ && std::chrono::steady_clock::now() - kept.at <= std::chrono::seconds(1);
    if (fresh || kept.refreshing) return kept.response; // one caller asks the database; the rest are not held up
    kept.refreshing = true;
    return std::nullopt;
}

void Board::keep(const std::string& key, const std::optional<Response>& response) {
    const std::lock_guard lock(cache_mutex_);
    if (!response) {
        cache_.erase(key);
        return;
    }
    if (cache_.size() > 10000) cache_.clear(); // any day, any limit: bounded all the same
    cache_[key] = {*response, version_, std::chrono::steady_clock::now(), false};
}

Response Board::health() {
    const bool healthy = store_.healthy();
    return ok({{"ok", healthy}, {"database", healthy}, {"queued", healthy ? store_.countQueued() : -1}},
              healthy ? 200 : 503);
}

Response Board::daily() {
    const std::time_t now = settings_.now();
    const std::string day = dayOf(now);
    const std::time_t closes = dayStart(now) + 86400;
    return ok({{"date", day}, {"seed", dailySeed(day)}, {"closes", dayOf(closes) + "T00:00:00Z"},
               {"closes_in", static_cast<long long>(closes - now)}});
}

// The game checks a name the player types by the board's own rules before sending a run under it.
Response Board::nameCheck(const Request& request) {
    const auto given = request.query.find("name");
    if (given == request.query.end()) return refusal(400, "the name to check is missing: ?name=");
    const NameCheck check = checkName(given->second);
    if (!check.why.empty()) return refusal(422, "name refused: " + check.why);
    return ok({{"name", check.name}});
}

std::string Board::playerOf(const Request& request) {
    static const std::string kBearer = "Bearer ";
    if (request.authorization.rfind(kBearer, 0) != 0) return {};
    std::string key = request.authorization.substr(kBearer.size());
    for (char& c : key)
        if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    // The key itself is never kept: only its hash, which names the player.
    return isHex(key, 64) ? sha256Hex(key) : std::string();
}

Response Board::submit(const Request& request) {
    if (request.content_type != "application/octet-stream")
        return refusal(415, "a run is sent as application/octet-stream: the replay file's bytes");
    if (request.body.size() > settings_.max_replay_bytes)
        return refusal(413, "a replay is at most " + std::to_string(settings_.max_replay_bytes / 1024) + " KB");
    const std::string player = playerOf(request);
    if (player.empty()) return refusal(400, "the device key is missing or malformed: Authorization: Bearer <64 hex digits>");
    const std::string tag = player.substr(0, 8);
    std::string name = generatedName(tag);
    if (const auto given = request.query.find("name"); given != request.query.end()) {
        const NameCheck check = checkName(given->second);
        if (!check.why.empty()) return refusal(422, "name refused: " + check.why);
        name = check.name;
    }
    if (const int wait = by_player_.take("p" + player); wait > 0)
        return refusal(429, "too many runs from this player: wait", wait);
    if (const int wait = by_address_.take(sha256Hex(address_salt_ + request.client)); wait > 0)
        return refusal(429, "too many runs from this address: wait", wait);

    const std::time_t now = settings_.now();
    const RunFacts facts = checkRun(request.body, now);
    if (!facts.why.empty()) return refusal(422, facts.why);
    RunRecord run;
    run.id = sha256Hex(request.body).substr(0, 32);
    run.day = facts.day;
    run.player = player;
    run.name = name;
    run.end_hash = facts.end_hash;
    run.claimed = facts.claimed;
    run.submitted = static_cast<std::int64_t>(now);

    const std::lock_guard lock(submit_mutex_);
    if (const auto known = store_.findRun(run.id)) {
        if (known->player != player) return refusal(422, "this run was sent by another player");
        return ok({{"id", run.id}, {"status", known->state}}, 200);
    }
    if (store_.endStateTaken(run.day, run.end_hash, player))
        return refusal(422, "this run's end is already on the board under another player");
    if (const auto best = store_.bestOfDay(player, run.day); best && run.claimed <= *best)
        return refusal(422, "no better than your best today (" + std::to_string(*best) + ")");
    if (store_.countQueuedBy(player) >= settings_.queued_per_player)
        return refusal(429, "your earlier runs are still being checked", settings_.run_interval_seconds);
    if (store_.countQueued() >= settings_.queue_size) return refusal(503, "the board is busy checking runs", 30);
    if (store_.addRun(run, request.body) == Store::Added::TAKEN)
        return refusal(422, "this run was sent by another player");
    wake_.notify_one();
    return ok({{"id", run.id}, {"status", "queued"}}, 202);
}

Response Board::runStatus(const std::string& id) {
    if (!isHex(id, 32)) return refusal(400, "a run's id is 32 hex digits");
    const auto run = store_.findRun(id);
    if (!run) return refusal(404, "no such run");
    json body = {{"id", run->id}, {"status", run->state}, {"date", run->day}, {"name", run->name},
                 {"tag", run->player.substr(0, 8)}};
    if (run->state == "verified") {
        body["score"] = run->score;
        body["rank"] = store_.rankOf(run->day, run->score, run->submitted);
        body["of"] = store_.boardSize(run->day);
    }
    if (run->state == "rejected") body["reason"] = run->reason;
    return ok(body);
}

Response Board::replay(const std::string& id) {
    if (!isHex(id, 32)) return refusal(400, "a run's id is 32 hex digits");
    const auto run = store_.findRun(id);
    if (!run || run->state != "verified") return refusal(404, "no such verified run");
    if (run->day >= dayOf(settings_.now())) return refusal(403, "a run's replay is shared once its day has closed");
    const auto bytes = store_.replayBytes(id);
    if (!bytes) return refusal(404, "no such verified run");
    return {200, *bytes, "application/octet-stream", 0};
}

Response Board::board(const std::string& day, const Request& request) {
    if (!isDay(day)) return refusal(400, "a day is YYYY-MM-DD");
    const auto limit = queryNumber(request, "limit", 10, 1, kMostListed);
    const auto offset = queryNumber(request, "offset", 0, 0, 1000000);
    if (!limit || !offset) return refusal(400, "limit is 1 to 100, offset 0 or more");
    json runs = json::array();
    for (const BoardRow& row : store_.board(day, *offset, *limit))
        runs.push_back(rowJson(row));
    return ok({{"date", day}, {"total", store_.boardSize(day)}, {"runs", runs}});
}

Response Board::around(const std::string& day, const std::string& tag, const Request& request) {
    if (!isDay(day)) return refusal(400, "a day is YYYY-MM-DD");
    if (!isHex(tag, 8)) return refusal(400, "a player's tag is 8 hex digits");
    const auto reach = queryNumber(request, "n", 5, 0, 50);
    if (!reach) return refusal(400, "n is 0 to 50");
    const auto rank = store_.playerRank(day, tag);
    if (!rank) return refusal(404, "that player has no verified run that day");
    const std::int64_t from = std::max<std::int64_t>(0, *rank - 1 - *reach);
    json runs = json::array();
    for (const BoardRow& row : store_.board(day, from, *rank - from + *reach))
        runs.push_back(rowJson(row));
    return ok({{"date", day}, {"total", store_.boardSize(day)}, {"rank", *rank}, {"runs", runs}});
}

Response Board::erase(const Request& request) {
    const std::string player = playerOf(request);
    if (player.empty()) return refusal(400, "the device key is missing or malformed: Authorization: Bearer <64 hex digits>");
    const std::int64_t erased = store_.erasePlayer(player);
    ++version_;
    return ok({{"erased", erased}});
}

void Board::work() {
    std::mt19937_64 random(std::random_device{}());
    while (running_) {
        std::optional<RunRecord> run;
        try {
            run = store_.claimNext();
        } catch (const DatabaseError& error) {
            (void)std::fprintf(stderr, "moonvale-board: claiming a run: %s\n", error.what());
        }
        if (!run) {
            // Woken by a submission here; other nodes' submissions are found within a second.
            std::unique_lock lock(wake_mutex_);
            wake_.wait_for(lock, std::chrono::seconds(1));
            continue;
        }
        const std::string file = settings_.scratch + "/" + run->id + "-" + std::to_string(random()) + ".mvr";
        const auto bytes = store_.replayBytes(run->id);
        Verdict verdict{std::nullopt, "the run went before it was checked"};
        if (bytes) {
            std::ofstream(file, std::ios::binary) << *bytes;
            verdict = verifyInChild(settings_.verifier, file, settings_.limits);
            (void)std::remove(file.c_str());
        }
        try {
            if (verdict.score && *verdict.score == run->claimed) {
                store_.verified(run->id, *verdict.score);
            } else {
                store_.rejected(run->id, verdict.score ? "played again, it scores otherwise" : verdict.why);
            }
        } catch (const DatabaseError& error) {
            (void)std::fprintf(stderr, "moonvale-board: keeping a verdict: %s\n", error.what());
        }
        ++version_;
    }
}
