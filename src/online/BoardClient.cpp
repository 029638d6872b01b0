#include "online/BoardClient.h"

#include "online/BoardAnswer.h"
#include "online/Http.h"
#include "replay/Daily.h"
#include "replay/Hex.h"

#include <SDL3/SDL.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <memory>

#ifdef __EMSCRIPTEN__
#include <emscripten/html5.h>
#endif

namespace {

using board_answer::number;
using board_answer::objectOf;
using board_answer::percentEncoded;
using board_answer::text;
using nlohmann::json;

constexpr auto kListingInterval = std::chrono::seconds(30);
constexpr std::size_t kLongestReplay = std::size_t{256} * 1024; // the board takes none longer

std::optional<std::vector<BoardClient::Line>> linesOf(const HttpResponse& response) {
    if (response.status != 200) return std::nullopt;
    return board_answer::listingOf(response.body);
}

std::string whyNot(const HttpResponse& response) {
    if (response.status == 0) return response.error;
    const std::optional<json> answer = objectOf(response.body);
    std::string why = answer ? text(*answer, "error") : std::string();
    return why.empty() ? "the board answered " + std::to_string(response.status) : why;
}

} // namespace

BoardClient::BoardClient(std::string address, std::function<std::string()> today)
    : address_(std::move(address)), today_(std::move(today)) {
#ifdef __EMSCRIPTEN__
    // Answers are looked for between the page's frames, often enough that the title's three asks in a
    // row add little to the board's own time.
    interval_ = emscripten_set_interval([](void* self) { static_cast<BoardClient*>(self)->takeAnswers(); }, 20, this);
#else
    thread_ = std::thread([this] { run(); });
#endif
}

BoardClient::~BoardClient() {
#ifdef __EMSCRIPTEN__
    emscripten_clear_interval(interval_);
#else
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    cancel_ = true;
    wake_.notify_all();
    thread_.join();
#endif
}

#ifdef __EMSCRIPTEN__
// A page never waits: a job starts its exchanges now, and what follows each runs once its answer is in.
void BoardClient::post(std::function<void()> job) {
    job();
}

void BoardClient::ask(HttpRequest request, const std::function<void(const HttpResponse&)>& then) {
    waiting_.push_back({httpStart(request), then});
}

void BoardClient::takeAnswers() {
    for (std::size_t i = 0; i < waiting_.size();) {
        std::optional<HttpResponse> response = httpTake(waiting_[i].exchange);
        if (!response) {
            ++i;
            continue;
        }
        const std::function<void(const HttpResponse&)> then = std::move(waiting_[i].then);
        waiting_.erase(waiting_.begin() + static_cast<std::ptrdiff_t>(i));
        then(*response); // may ask again, at the end of the list
    }
}
#else
void BoardClient::post(std::function<void()> job) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_all();
}

// On the client's own thread, which may wait.
void BoardClient::ask(HttpRequest request, const std::function<void(const HttpResponse&)>& then) {
    request.cancel = &cancel_;
    then(httpExchange(request));
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
#endif

HttpRequest BoardClient::get(const std::string& path) const {
    HttpRequest request;
    request.url = address_ + path;
    return request;
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
        if (listing_.state == State::NONE) {
            listing_.state = State::ASKING;
            ++listing_version_;
        }
    }
    post([this, date = today_(), tag] { askListing(date, tag); });
}

std::uint64_t BoardClient::listingVersion() const {
    const std::lock_guard lock(mutex_);
    return listing_version_;
}

BoardClient::Listing BoardClient::listing() const {
    const std::lock_guard lock(mutex_);
    return listing_;
}

// The day's ten best, then the player's own line, then the day before's best: each asked once the
// answer before it is in.
void BoardClient::askListing(const std::string& date, const std::string& tag) {
    auto listing = std::make_shared<Listing>();
    listing->date = date;
    const auto finish = [this, listing, date] {
        ask(get("/v1/boards/" + dayBefore(date) + "?limit=1"), [this, listing](const HttpResponse& earlier) {
            const std::optional<std::vector<Line>> lines = linesOf(earlier);
            if (lines && !lines->empty()) listing->best_earlier = lines->front().id;
            const std::lock_guard lock(mutex_);
            listing_ = *listing;
            ++listing_version_;
        });
    };
    ask(get("/v1/boards/" + date + "?limit=10"), [this, listing, date, tag, finish](const HttpResponse& top) {
        std::optional<std::vector<Line>> lines = linesOf(top);
        if (!lines) {
            SDL_Log("Board: today's listing cannot be had: %s", whyNot(top).c_str());
            const std::lock_guard lock(mutex_);
            listing_.state = State::FAILED; // what was shown stays, under a line that says so
            ++listing_version_;
            return;
        }
        listing->state = State::DONE;
        listing->top = std::move(*lines);
        const std::optional<json> answer = objectOf(top.body);
        listing->total = answer ? number(*answer, "total") : 0;
        if (!isHex(tag, 8)) {
            finish();
            return;
        }
        ask(get("/v1/boards/" + date + "/around/" + tag + "?n=0"), [listing, finish](const HttpResponse& around) {
            const std::optional<std::vector<Line>> own = linesOf(around);
            if (own && !own->empty()) listing->own = own->front();
            finish();
        });
    });
}

void BoardClient::checkName(const std::string& name) {
    set(name_, {State::ASKING, {}, {}, 0});
    post([this, name] {
        ask(get("/v1/names?name=" + percentEncoded(name)), [this](const HttpResponse& response) {
            const std::optional<json> answer = response.status == 200 ? objectOf(response.body) : std::nullopt;
            const std::string accepted = answer ? text(*answer, "name", 16) : std::string();
            if (!accepted.empty()) {
                set(name_, {State::DONE, accepted, {}, response.status});
                return;
            }
            set(name_, {State::FAILED, {}, whyNot(response), response.status});
        });
    });
}

BoardClient::Result BoardClient::nameCheck() const {
    const std::lock_guard lock(mutex_);
    return name_;
}

void BoardClient::fetchReplay(const std::string& id) {
    set(replay_, {State::ASKING, {}, {}, 0});
    post([this, id] { askReplay(id); });
}

void BoardClient::fetchReplayAt(const std::string& date, int rank) {
    set(replay_, {State::ASKING, {}, {}, 0});
    post([this, date, rank] {
        const std::string offset = std::to_string(std::max(rank, 1) - 1);
        ask(get("/v1/boards/" + date + "?limit=1&offset=" + offset), [this](const HttpResponse& response) {
            const std::optional<std::vector<Line>> lines = linesOf(response);
            if (!lines || lines->empty()) {
                set(replay_, {State::FAILED, {}, lines ? "no such run on that day's board" : whyNot(response),
                              response.status});
                return;
            }
            askReplay(lines->front().id);
        });
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
    HttpRequest request = get("/v1/runs/" + id + "/replay");
    request.max_body = kLongestReplay;
    request.timeout_ms = 20000;
    ask(request, [this](const HttpResponse& response) {
        if (response.status == 200) {
            set(replay_, {State::DONE, response.body, {}, 200});
            return;
        }
        set(replay_, {State::FAILED, {}, whyNot(response), response.status});
    });
}

void BoardClient::forget(const std::string& key) {
    set(forgotten_, {State::ASKING, {}, {}, 0});
    post([this, key] {
        HttpRequest request = get("/v1/players/me");
        request.method = "DELETE";
        request.bearer = key;
        ask(request, [this](const HttpResponse& response) {
            const std::optional<json> answer = response.status == 200 ? objectOf(response.body) : std::nullopt;
            if (!answer) {
                set(forgotten_, {State::FAILED, {}, whyNot(response), response.status});
                return;
            }
            const std::lock_guard lock(mutex_);
            listing_asked_.reset(); // the player's lines are gone from the listing too: ask again at once
            forgotten_ = {State::DONE, std::to_string(number(*answer, "erased")), {}, 200};
        });
    });
}

BoardClient::Result BoardClient::forgotten() const {
    const std::lock_guard lock(mutex_);
    return forgotten_;
}
