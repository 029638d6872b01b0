#pragma once
#include "object/Object.h"

// Counts game time while active and raises a flag, read once, at the end of every interval.
class Timer : public Object {
public:
    // Every timer starts stopped.
    static Timer* addTimerChild(Object* parent, float interval);
    void update(float dt) override;

    // Test-and-clear: each completed interval is reported once.
    bool timeOut();
    void start() { is_active_ = true; }
    void stop() { is_active_ = false; }
    float getProgress() const { return timer_ / interval_; }
    void setInterval(float interval) { interval_ = interval; }

private:
    float timer_ = 0.0f;
    float interval_ = 3.0f;
    bool time_out_ = false;
};
