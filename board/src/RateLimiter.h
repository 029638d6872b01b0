#pragma once
#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

// Token buckets by a caller's name (a player, or a salted hash of an address): burst calls at once,
// then one every interval. Old buckets are dropped as the map grows, so a flood of names costs bounded
// memory.
class RateLimiter {
public:
    using Clock = std::chrono::steady_clock;
    RateLimiter(int burst, Clock::duration interval) : burst_(burst), interval_(interval) {}

    // Zero when the call may go ahead (and is counted); otherwise how long until it may, rounded up to
    // whole seconds, at least one.
    int take(const std::string& who, Clock::time_point now = Clock::now());

private:
    struct Bucket {
        double tokens = 0.0;
        Clock::time_point at;
    };
    static constexpr std::size_t kMostBuckets = 100000;

    int burst_;
    Clock::duration interval_;
    std::mutex mutex_;
    std::unordered_map<std::string, Bucket> buckets_; // guarded by mutex_
};
