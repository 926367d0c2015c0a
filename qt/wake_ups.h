#pragma once

// The platform's wake-ups on Qt's event loop: the timer port, and the
// requests to end the program from outside.

#include <QObject>
#include <functional>

#include "platform/ports.h"
#include "platform/wake_up.h"

namespace velmo {

// Calls `ready` on the event loop each time `handle` is ready; the watch is a
// child of `owner`. Nothing for a handle of kind None.
void WatchWakeUp(const WaitHandle& handle, QObject* owner, std::function<void()> ready);

// A timer on real elapsed time (time asleep counts) that wakes the program
// only when it is due.
class QtTimer : public QObject, public TimerPort {
  public:
    QtTimer();
    void Start(double seconds, std::function<void()> due) override;
    void Stop() override;

  private:
    WakeTimer timer_;
    std::function<void()> due_;
};

// Turns the requests to end the program from outside (SIGINT and SIGTERM;
// the console's and the session's end on Windows) into a call on the event
// loop.
class QtEndRequests : public QObject {
  public:
    explicit QtEndRequests(std::function<void()> onRequest);

  private:
    EndRequests requests_;
    std::function<void()> onRequest_;
};

}  // namespace velmo
