#include "RateLimiter.h"

#include <algorithm>
#include <cmath>

int RateLimiter::take(const std::string& who, Clock::time_point now) {
    const std::lock_guard lock(mutex_);
    const double per_second = 1.0 / std::chrono::duration<double>(interval_).count();
    if (buckets_.size() >= kMostBuckets) {
        // Full buckets are the same as none: forget them first.
        std::erase_if(buckets_, [&](const auto& entry) {
            const double refilled = entry.second.tokens +
                                    std::chrono::duration<double>(now - entry.second.at).count() * per_second;
            return refilled >= burst_;
        });
        if (buckets_.size() >= kMostBuckets) buckets_.clear();
    }
    auto [bucket, added] = buckets_.try_emplace(who, Bucket{static_cast<double>(burst_), now});
    Bucket& b = bucket->second;
    b.tokens = std::min<double>(burst_, b.tokens + std::chrono::duration<double>(now - b.at).count() * per_second);
    b.at = now;
    if (b.tokens >= 1.0) {
        b.tokens -= 1.0;
        return 0;
    }
    return std::max(1, static_cast<int>(std::ceil((1.0 - b.tokens) / per_second)));
}
