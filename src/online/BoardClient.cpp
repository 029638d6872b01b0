#include "online/BoardClient.h"

#include "online/BoardAnswer.h"
#include "online/Http.h"
#include "replay/Daily.h"
#include "replay/Hex.h"

#include <SDL3/SDL.h>

namespace {

using board_answer::number;
using board_answer::objectOf;
using board_answer::percentEncoded;
using board_answer::text;
using nlohmann::json;

constexpr auto kListingInterval = std::chrono::seconds(30);
constexpr std::size_t kLongestReplay = std::size_t{256} * 1024; // the board takes none longer

std::optional<BoardClient::Line> lineOf(const json& row) {
    if (!row.is_object()) return std::nullopt;
    BoardClient::Line line;
    line.rank = number(row, "rank");
    line.name = text(row, "name", 16);
    line.tag = text(row, "tag");
    line.score = number(row, "score");
    line.id = text(row, "id");
    if (line.rank < 1 || line.name.empty() || !isHex(line.tag, 8)) return std::nullopt;
    if (!isHex(line.id, 32)) line.id.clear();
    return line;
}

// The rows of a listing, best first, at most ten; nothing when the answer is not one.
std::optional<std::vector<BoardClient::Line>> linesOf(const json& answer) {
    const auto runs = answer.find("runs");
    if (runs == answer.end() || !runs->is_array()) return std::nullopt;
    std::vector<BoardClient::Line> lines;
    for (const json& row : *runs) {
        if (lines.size() == 10) break;
        if (std::optional<BoardClient::Line> line = lineOf(row)) lines.push_back(std::move(*line));
    }
    return lines;
}

std::string whyNot(const HttpResponse& response) {
    if (response.status == 0) return response.error;
    const std::optional<json> answer = objectOf(response.body);
    std::string why = answer ? text(*answer, "error") : std::string();
    return why.empty() ? "the board answered " + std::to_string(response.status) : why;
}

} // namespace

BoardClient::BoardClient(std::string address, std::function<std::string()> today)
    : address_(std::move(address)), today_(std::move(today)), thread_([this] { run(); }) {}

BoardClient::~BoardClient() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    cancel_ = true;
    wake_.notify_all();
    thread_.join();
}

void BoardClient::post(std::function<void()> job) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_all();
}

void BoardClient::run() {
    while (true) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            // A timed wait: the untimed one needs a newer libstdc++ than the portable build may ask for.
            while (!wake_.wait_for(lock, std::chrono::hours(1), [this] { return stop_ || !jobs_.empty(); })) {
            }
            if (stop_) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}

void BoardClient::set(Result& slot, Result value) {
    const std::lock_guard lock(mutex_);
    slot = std::move(value);
}

void BoardClient::refreshListing(const std::string& tag, bool stale) {
    const auto now = std::chrono::steady_clock::now();
    {
        const std::lock_guard lock(mutex_);
        if (!stale && listing_asked_ && now - *listing_asked_ < kListingInterval) return;
        listing_asked_ = now;
        if (listing_.state == State::NONE) listing_.state = State::ASKING;
    }
    post([this, date = today_(), tag] { askListing(date, tag); });
}

BoardClient::Listing BoardClient::listing() const {
    const std::lock_guard lock(mutex_);
    return listing_;
}

void BoardClient::askListing(const std::string& date, const std::string& tag) {
    Listing listing;
    listing.date = date;
    HttpRequest request;
    request.url = address_ + "/v1/boards/" + date + "?limit=10";
    request.cancel = &cancel_;
    const HttpResponse top = httpExchange(request);
    const std::optional<json> answer = top.status == 200 ? objectOf(top.body) : std::nullopt;
    std::optional<std::vector<Line>> lines = answer ? linesOf(*answer) : std::nullopt;
    if (!lines) {
        SDL_Log("Board: today's listing cannot be had: %s", whyNot(top).c_str());
        const std::lock_guard lock(mutex_);
        listing_.state = State::FAILED; // what was shown stays, under a line that says so
        return;
    }
    listing.state = State::DONE;
    listing.top = std::move(*lines);
    listing.total = number(*answer, "total");
    if (isHex(tag, 8)) {
        request.url = address_ + "/v1/boards/" + date + "/around/" + tag + "?n=0";
        const HttpResponse around = httpExchange(request);
        const std::optional<json> own = around.status == 200 ? objectOf(around.body) : std::nullopt;
        const std::optional<std::vector<Line>> own_lines = own ? linesOf(*own) : std::nullopt;
        if (own_lines && !own_lines->empty()) listing.own = own_lines->front();
    }
    request.url = address_ + "/v1/boards/" + dayBefore(date) + "?limit=1";
    const HttpResponse earlier = httpExchange(request);
    const std::optional<json> earlier_answer = earlier.status == 200 ? objectOf(earlier.body) : std::nullopt;
    const std::optional<std::vector<Line>> earlier_lines = earlier_answer ? linesOf(*earlier_answer) : std::nullopt;
    if (earlier_lines && !earlier_lines->empty()) listing.best_earlier = earlier_lines->front().id;
    const std::lock_guard lock(mutex_);
    listing_ = std::move(listing);
}

void BoardClient::checkName(const std::string& name) {
    set(name_, {State::ASKING, {}, {}, 0});
    post([this, name] { askName(name); });
}

BoardClient::Result BoardClient::nameCheck() const {
    const std::lock_guard lock(mutex_);
    return name_;
}

void BoardClient::askName(const std::string& name) {
    HttpRequest request;
    request.url = address_ + "/v1/names?name=" + percentEncoded(name);
    request.cancel = &cancel_;
    const HttpResponse response = httpExchange(request);
    const std::optional<json> answer = response.status == 200 ? objectOf(response.body) : std::nullopt;
    const std::string accepted = answer ? text(*answer, "name", 16) : std::string();
    if (!accepted.empty()) {
        set(name_, {State::DONE, accepted, {}, response.status});
        return;
    }
    set(name_, {State::FAILED, {}, whyNot(response), response.status});
}

void BoardClient::fetchReplay(const std::string& id) {
    set(replay_, {State::ASKING, {}, {}, 0});
    post([this, id] { askReplay(id); });
}

void BoardClient::fetchReplayAt(const std::string& date, int rank) {
    set(replay_, {State::ASKING, {}, {}, 0});
    post([this, date, rank] {
        HttpRequest request;
        request.url = address_ + "/v1/boards/" + date + "?limit=1&offset=" + std::to_string(std::max(rank, 1) - 1);
        request.cancel = &cancel_;
        const HttpResponse response = httpExchange(request);
        const std::optional<json> answer = response.status == 200 ? objectOf(response.body) : std::nullopt;
        const std::optional<std::vector<Line>> lines = answer ? linesOf(*answer) : std::nullopt;
        if (!lines || lines->empty()) {
            set(replay_, {State::FAILED, {}, lines ? "no such run on that day's board" : whyNot(response), response.status});
            return;
        }
        askReplay(lines->front().id);
    });
}

BoardClient::Result BoardClient::replay() const {
    const std::lock_guard lock(mutex_);
    return replay_;
}

void BoardClient::askReplay(const std::string& id) {
    if (!isHex(id, 32)) {
        set(replay_, {State::FAILED, {}, "no such run", 404});
        return;
    }
    HttpRequest request;
    request.url = address_ + "/v1/runs/" + id + "/replay";
    request.cancel = &cancel_;
    request.max_body = kLongestReplay;
    request.timeout_ms = 20000;
    HttpResponse response = httpExchange(request);
    if (response.status == 200) {
        set(replay_, {State::DONE, std::move(response.body), {}, 200});
        return;
    }
    set(replay_, {State::FAILED, {}, whyNot(response), response.status});
}

void BoardClient::forget(const std::string& key) {
    set(forgotten_, {State::ASKING, {}, {}, 0});
    post([this, key] { askForget(key); });
}

BoardClient::Result BoardClient::forgotten() const {
    const std::lock_guard lock(mutex_);
    return forgotten_;
}

void BoardClient::askForget(const std::string& key) {
    HttpRequest request;
    request.method = "DELETE";
    request.url = address_ + "/v1/players/me";
    request.bearer = key;
    request.cancel = &cancel_;
    const HttpResponse response = httpExchange(request);
    const std::optional<json> answer = response.status == 200 ? objectOf(response.body) : std::nullopt;
    if (answer) {
        const std::lock_guard lock(mutex_);
        listing_asked_.reset(); // the player's lines are gone from the listing too: ask again at once
        forgotten_ = {State::DONE, std::to_string(number(*answer, "erased")), {}, 200};
        return;
    }
    set(forgotten_, {State::FAILED, {}, whyNot(response), response.status});
}
