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

BoardSender::BoardSender(Config config)
    : config_(std::move(config)), queue_(config_.queue_folder), thread_([this] { run(); }) {}

BoardSender::~BoardSender() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    cancel_ = true;
    wake_.notify_all();
    // An exchange under way ends within a second; the queue keeps what was not sent.
    thread_.join();
}

std::string BoardSender::queue(const std::string& date, const std::string& replay_bytes) {
    std::string ticket = queue_.add(date, replay_bytes);
    if (ticket.empty()) return ticket;
    {
        const std::lock_guard lock(mutex_);
        woken_ = true;
    }
    wake_.notify_all();
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

bool BoardSender::waitFor(double seconds) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, std::chrono::duration<double>(seconds), [this] { return stop_; });
    return !stop_;
}

double BoardSender::retryWait(int failures, int retry_after) {
    static thread_local std::minstd_rand jitter{std::random_device{}()};
    const double longest = std::min(kLongestWait, config_.first_wait * std::pow(2.0, std::min(failures - 1, 16)));
    const double wait = longest * std::uniform_real_distribution(0.5, 1.0)(jitter);
    return std::max(wait, static_cast<double>(retry_after));
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
        HttpRequest request;
        request.method = "POST";
        request.url = config_.address + "/v1/runs" + (config_.name.empty() ? "" : "?name=" + percentEncoded(config_.name));
        request.bearer = config_.key;
        request.body = *bytes;
        request.cancel = &cancel_;
        const HttpResponse response = httpExchange(request);
        const std::optional<json> answer = objectOf(response.body);
        if (response.status == 200 || response.status == 202) {
            RunQueue::remove(entry);
            failures = 0;
            const std::string id = answer ? text(*answer, "id") : std::string();
            SDL_Log("Board: the daily run of %s was sent", entry.date.c_str());
            if (isHex(id, 32)) followVerdict(ticket, id, entry.date);
            continue;
        }
        if (worthRetrying(response.status)) {
            ++failures;
            const double wait = retryWait(failures, response.retry_after);
            status.state = response.status == 0 ? State::OFFLINE : State::WAITING;
            status.reason = response.status == 0 ? response.error : answer ? text(*answer, "error") : std::string();
            setStatus(ticket, status);
            SDL_Log("Board: the daily run of %s waits %.1f s (%s)", entry.date.c_str(), wait,
                    response.status == 0 ? response.error.c_str() : std::to_string(response.status).c_str());
            if (!waitFor(wait)) return;
            continue;
        }
        RunQueue::remove(entry);
        status.state = State::REJECTED;
        status.reason = answer ? text(*answer, "error") : std::string();
        if (status.reason.empty()) status.reason = "the board answered " + std::to_string(response.status);
        setStatus(ticket, status);
        SDL_Log("Board: the daily run of %s was refused: %s", entry.date.c_str(), status.reason.c_str());
    }
}

void BoardSender::followVerdict(const std::string& ticket, const std::string& id, const std::string& date) {
    double waited = 0.0;
    int failures = 0;
    while (waited < kVerdictPatience) {
        HttpRequest request;
        request.url = config_.address + "/v1/runs/" + id;
        request.cancel = &cancel_;
        const HttpResponse response = httpExchange(request);
        const std::optional<json> answer = objectOf(response.body);
        double wait = config_.poll_wait;
        if (response.status == 200 && answer) {
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
                return;
            }
            if (verdict == "rejected") {
                status.state = State::REJECTED;
                status.reason = text(*answer, "reason");
                setStatus(ticket, status);
                SDL_Log("Board: the daily run of %s was refused: %s", date.c_str(), status.reason.c_str());
                return;
            }
        } else {
            wait = retryWait(++failures, response.retry_after);
        }
        if (!waitFor(wait)) return;
        waited += wait;
    }
}
