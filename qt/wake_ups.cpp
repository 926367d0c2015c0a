#include "qt/wake_ups.h"

namespace velmo {

QtTimer::QtTimer() {
    WatchWakeUp(timer_.Handle(), this, [this] {
        if (!timer_.Acknowledge())
            return;
        auto due = std::move(due_);
        due_ = nullptr;
        if (due)
            due();
    });
}

void QtTimer::Start(double seconds, std::function<void()> due) {
    due_ = std::move(due);
    timer_.Start(seconds);
}

void QtTimer::Stop() {
    due_ = nullptr;
    timer_.Stop();
}

QtEndRequests::QtEndRequests(std::function<void()> onRequest) : onRequest_(std::move(onRequest)) {
    WatchWakeUp(requests_.Handle(), this, [this] {
        if (requests_.Acknowledge() && onRequest_)
            onRequest_();
    });
}

}  // namespace velmo
