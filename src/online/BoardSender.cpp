#include "online/BoardSender.h"

#include "online/BoardAnswer.h"
#include "online/Http.h"
#include "replay/Hex.h"

#include <SDL3/SDL.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cmath>
#include <optional>
#include <random>

#ifdef __EMSCRIPTEN__
#include <emscripten/html5.h>
#endif

namespace {

using nlohmann::json;
using board_answer::number;
using board_answer::objectOf;
using board_answer::percentEncoded;
using board_answer::text;

constexpr double kLongestWait = 300.0;
constexpr double kVerdictPatience = 600.0; // a verdict not in by then is left to the board

bool worthRetrying(int status) {
    return status == 0 || status == 408 || status == 429 || status >= 500;
}

} // namespace

BoardSender::BoardSender(Config config) : config_(std::move(config)), queue_(config_.queue_folder) {
#ifdef __EMSCRIPTEN__
    // The page's sending is looked after ten times a second, between its frames.
    interval_ = emscripten_set_interval([](void* self) { static_cast<BoardSender*>(self)->step(); }, 100, this);
#else
    thread_ = std::thread([this] { run(); });
#endif
}

BoardSender::~BoardSender() {
#ifdef __EMSCRIPTEN__
    emscripten_clear_interval(interval_);
#else
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    cancel_ = true;
    wake_.notify_all();
    // An exchange under way ends within a second; the queue keeps what was not sent.
    thread_.join();
#endif
}

std::string BoardSender::queue(const std::string& date, const std::string& replay_bytes) {
    std::string ticket = queue_.add(date, replay_bytes);
#ifndef __EMSCRIPTEN__
    if (ticket.empty()) return ticket;
    {
        const std::lock_guard lock(mutex_);
        woken_ = true;
    }
    wake_.notify_all();
#endif
    return ticket;
}

BoardSender::Status BoardSender::statusOf(const std::string& ticket) const {
    const std::lock_guard lock(mutex_);
    for (const auto& [kept, status] : recent_) {
        if (kept == ticket) return status;
    }
    return {};
}

void BoardSender::setStatus(const std::string& ticket, const Status& status) {
    const std::lock_guard lock(mutex_);
    const auto kept = std::find_if(recent_.begin(), recent_.end(), [&](const auto& run) { return run.first == ticket; });
    if (kept != recent_.end()) {
        kept->second = status;
        return;
    }
    constexpr std::size_t kRemembered = 16;
    if (recent_.size() == kRemembered) recent_.erase(recent_.begin());
    recent_.emplace_back(ticket, status);
}

double BoardSender::retryWait(int failures, int retry_after) {
    static thread_local std::minstd_rand jitter{std::random_device{}()};
    const double longest = std::min(kLongestWait, config_.first_wait * std::pow(2.0, std::min(failures - 1, 16)));
    const double wait = longest * std::uniform_real_distribution(0.5, 1.0)(jitter);
    return std::max(wait, static_cast<double>(retry_after));
}

HttpRequest BoardSender::postRequest(const std::string& bytes) const {
    HttpRequest request;
    request.method = "POST";
    request.url = config_.address + "/v1/runs" + (config_.name.empty() ? "" : "?name=" + percentEncoded(config_.name));
    request.bearer = config_.key;
    request.body = bytes;
    return request;
}

HttpRequest BoardSender::verdictRequest(const std::string& id) const {
    HttpRequest request;
    request.url = config_.address + "/v1/runs/" + id;
    return request;
}

BoardSender::Next BoardSender::afterPost(const RunQueue::Entry& entry, const std::string& ticket,
                                        const HttpResponse& response, int& failures) {
    const std::optional<json> answer = objectOf(response.body);
    Status status;
    status.date = entry.date;
    if (response.status == 200 || response.status == 202) {
        RunQueue::remove(entry);
        failures = 0;
        const std::string id = answer ? text(*answer, "id") : std::string();
        SDL_Log("Board: the daily run of %s was sent", entry.date.c_str());
        return {isHex(id, 32) ? id : std::string(), 0.0};
    }
    if (worthRetrying(response.status)) {
        ++failures;
        const double wait = retryWait(failures, response.retry_after);
        status.state = response.status == 0 ? State::OFFLINE : State::WAITING;
        status.reason = response.status == 0 ? response.error : answer ? text(*answer, "error") : std::string();
        setStatus(ticket, status);
        SDL_Log("Board: the daily run of %s waits %.1f s (%s)", entry.date.c_str(), wait,
                response.status == 0 ? response.error.c_str() : std::to_string(response.status).c_str());
        return {{}, wait};
    }
    RunQueue::remove(entry);
    status.state = State::REJECTED;
    status.reason = answer ? text(*answer, "error") : std::string();
    if (status.reason.empty()) status.reason = "the board answered " + std::to_string(response.status);
    setStatus(ticket, status);
    SDL_Log("Board: the daily run of %s was refused: %s", entry.date.c_str(), status.reason.c_str());
    return {};
}

std::optional<double> BoardSender::afterVerdict(const std::string& ticket, const std::string& date,
                                                const HttpResponse& response, int& failures) {
    const std::optional<json> answer = objectOf(response.body);
    if (response.status != 200 || !answer) return retryWait(++failures, response.retry_after);
    failures = 0;
    const std::string verdict = text(*answer, "status");
    Status status;
    status.date = date;
    if (verdict == "verified") {
        status.state = State::VERIFIED;
        status.score = number(*answer, "score");
        status.rank = number(*answer, "rank");
        status.of = number(*answer, "of");
        setStatus(ticket, status);
        ++verified_;
        SDL_Log("Board: the daily run of %s is verified: score %d, %d of %d", date.c_str(), status.score,
                status.rank, status.of);
        return std::nullopt;
    }
    if (verdict == "rejected") {
        status.state = State::REJECTED;
        status.reason = text(*answer, "reason");
        setStatus(ticket, status);
        SDL_Log("Board: the daily run of %s was refused: %s", date.c_str(), status.reason.c_str());
        return std::nullopt;
    }
    return config_.poll_wait;
}

#ifdef __EMSCRIPTEN__
// One step of the same course as the desktop's thread takes, never waiting: a wait is a time to come
// back, an exchange is an answer to come back for.
void BoardSender::step() {
    const double now = static_cast<double>(SDL_GetTicks()) / 1000.0;
    if (now < web_.until) return;
    if (web_.exchange != 0) {
        const std::optional<HttpResponse> response = httpTake(web_.exchange);
        if (!response) return;
        web_.exchange = 0;
        if (web_.id.empty()) {
            const Next next = afterPost(web_.entry, web_.ticket, *response, web_.failures);
            web_.until = now + next.wait;
            web_.id = next.id;
            web_.asked_since = now;
            if (web_.id.empty()) return;
        } else {
            const std::optional<double> wait = afterVerdict(web_.ticket, web_.entry.date, *response, web_.failures);
            if (!wait || now - web_.asked_since > kVerdictPatience) {
                web_.id.clear();
                return;
            }
            web_.until = now + *wait;
            return;
        }
    }
    if (!web_.id.empty()) {
        web_.exchange = httpStart(verdictRequest(web_.id));
        return;
    }
    std::vector<RunQueue::Entry> entries = queue_.pending(config_.today());
    if (entries.empty()) return;
    web_.entry = entries.front();
    const std::optional<std::string> bytes = RunQueue::read(web_.entry);
    if (!bytes) {
        RunQueue::remove(web_.entry);
        return;
    }
    web_.ticket = RunQueue::ticketOf(web_.entry);
    Status status;
    status.state = State::SENDING;
    status.date = web_.entry.date;
    setStatus(web_.ticket, status);
    web_.exchange = httpStart(postRequest(*bytes));
}
#else
bool BoardSender::waitFor(double seconds) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, std::chrono::duration<double>(seconds), [this] { return stop_; });
    return !stop_;
}

void BoardSender::run() {
    int failures = 0;
    while (true) {
        std::vector<RunQueue::Entry> entries = queue_.pending(config_.today());
        if (entries.empty()) {
            std::unique_lock lock(mutex_);
            // A timed wait: the untimed one needs a newer libstdc++ than the portable build may ask for.
            while (!wake_.wait_for(lock, std::chrono::hours(1), [this] { return stop_ || woken_; })) {
            }
            woken_ = false;
            if (stop_) return;
            continue;
        }
        {
            const std::lock_guard lock(mutex_);
            if (stop_) return;
        }
        const RunQueue::Entry& entry = entries.front();
        const std::optional<std::string> bytes = RunQueue::read(entry);
        if (!bytes) {
            RunQueue::remove(entry);
            continue;
        }
        const std::string ticket = RunQueue::ticketOf(entry);
        Status status;
        status.state = State::SENDING;
        status.date = entry.date;
        setStatus(ticket, status);
        HttpRequest request = postRequest(*bytes);
        request.cancel = &cancel_;
        const Next next = afterPost(entry, ticket, httpExchange(request), failures);
        if (next.wait > 0.0 && !waitFor(next.wait)) return;
        if (!next.id.empty()) followVerdict(ticket, next.id, entry.date);
    }
}

void BoardSender::followVerdict(const std::string& ticket, const std::string& id, const std::string& date) {
    double waited = 0.0;
    int failures = 0;
    while (waited < kVerdictPatience) {
        HttpRequest request = verdictRequest(id);
        request.cancel = &cancel_;
        const std::optional<double> wait = afterVerdict(ticket, date, httpExchange(request), failures);
        if (!wait || !waitFor(*wait)) return;
        waited += *wait;
    }
}
#endif
