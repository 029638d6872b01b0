#include "components/Timer.h"

Timer* Timer::addTimerChild(Object* parent, float interval) {
    auto* timer = new Timer;
    timer->setInterval(interval);
    if (parent) parent->addChild(timer);
    timer->setActive(false);
    return timer;
}

void Timer::update(float dt) {
    timer_ += dt;
    if (timer_ < interval_) return;
    timer_ = 0.0f; // the surplus is dropped: one flag per interval, however long the frame
    time_out_ = true;
}

bool Timer::timeOut() {
    if (!time_out_) return false;
    time_out_ = false;
    return true;
}
