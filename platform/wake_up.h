#pragma once

// Things that wake the program's event loop, with no window toolkit: a timer
// on real time and the requests to end the program that come from outside.
// Each gives a handle the event loop waits on; when it is ready, the loop
// calls Acknowledge(), which says whether there is something to do.

#include <cstdint>

namespace velmo {

// What an event loop waits on: a file descriptor that becomes readable
// (POSIX) or a handle that becomes signalled (Windows). `None` when the
// system would not give one; then nothing ever wakes.
struct WaitHandle {
    enum class Kind { None, ReadableFd, SignalledHandle };
    Kind kind = Kind::None;
    std::intptr_t value = -1;
};

// A one-shot timer on real elapsed time: time the computer sleeps counts, and
// setting the wall clock does not move it.
class WakeTimer {
  public:
    WakeTimer();
    ~WakeTimer();
    WakeTimer(const WakeTimer&) = delete;
    WakeTimer& operator=(const WakeTimer&) = delete;

    // Goes off after `seconds` (at once for 0 or less), replacing an earlier
    // start.
    void Start(double seconds);
    // Does not go off until started again.
    void Stop();
    WaitHandle Handle() const;
    // For the event loop when the handle is ready: true once when the time is
    // up; false when it is not (stopped or started again since, or the handle
    // woke early, in which case the timer waits on for the rest).
    bool Acknowledge();

  private:
    std::intptr_t handle_ = -1;
    // On the elapsed-time clock, while armed; only Windows needs it.
    [[maybe_unused]] std::uint64_t dueAtMs_ = 0;
    bool armed_ = false;
};

// Turns the requests to end the program from outside into one wake-up: SIGINT
// and SIGTERM on POSIX; on Windows Ctrl+C, Ctrl+Break, closing the console,
// logging off and shutting down. While it lives they no longer end the
// process by themselves. The destructor gives them back their default, or,
// when one of them came (the program is ending), ignores any more. One at a
// time per process.
class EndRequests {
  public:
    EndRequests();
    ~EndRequests();
    EndRequests(const EndRequests&) = delete;
    EndRequests& operator=(const EndRequests&) = delete;

    WaitHandle Handle() const;
    // For the event loop when the handle is ready: true when one or more
    // requests came since the last call.
    bool Acknowledge();

  private:
    std::intptr_t handle_ = -1;
};

}  // namespace velmo
