#include <sys/socket.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdint>

#include "platform/wake_up.h"

namespace velmo {

namespace {

WaitHandle Readable(std::intptr_t fd) {
    return fd != -1 ? WaitHandle{WaitHandle::Kind::ReadableFd, fd} : WaitHandle{};
}

int Fd(std::intptr_t handle) {
    return static_cast<int>(handle);
}

}  // namespace

// A timerfd on CLOCK_BOOTTIME, which goes on while the computer sleeps; on a
// kernel without it, CLOCK_MONOTONIC.
WakeTimer::WakeTimer() {
    int fd = timerfd_create(CLOCK_BOOTTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd == -1)
        fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    handle_ = fd;
}

WakeTimer::~WakeTimer() {
    if (handle_ != -1)
        ::close(Fd(handle_));
}

void WakeTimer::Start(double seconds) {
    if (handle_ == -1)
        return;
    // Zero disarms a timerfd; "at once" is a microsecond instead, which is
    // never zero. Waits beyond some thirty years are taken as that.
    const double wait = seconds > 1e-6 ? std::min(seconds, 1e9) : 1e-6;
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(std::floor(wait));
    when.it_value.tv_nsec = static_cast<long>((wait - std::floor(wait)) * 1e9);
    // Setting the timer also clears an expiry not yet read.
    armed_ = timerfd_settime(Fd(handle_), 0, &when, nullptr) == 0;
}

void WakeTimer::Stop() {
    armed_ = false;
    if (handle_ == -1)
        return;
    itimerspec off{};
    timerfd_settime(Fd(handle_), 0, &off, nullptr);
}

WaitHandle WakeTimer::Handle() const {
    return Readable(handle_);
}

bool WakeTimer::Acknowledge() {
    std::uint64_t expirations = 0;
    if (handle_ == -1 || ::read(Fd(handle_), &expirations, sizeof expirations) < 0 || !armed_)
        return false;
    armed_ = false;
    return true;
}

namespace {

// The write end of the pipe the signal handler writes to; -1 when none.
std::atomic<int> endRequestPipe{-1};
// Whether a request came while the current EndRequests listened.
std::atomic<bool> endRequested{false};
static_assert(std::atomic<int>::is_always_lock_free, "used in a signal handler");
static_assert(std::atomic<bool>::is_always_lock_free, "used in a signal handler");

void OnEndSignal(int) {
    const int savedErrno = errno;
    endRequested.store(true);
    const int fd = endRequestPipe.load();
    const char byte = 1;
    // Non-blocking: with the pipe full, a request is already waiting.
    if (fd != -1) {
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

constexpr int kEndSignals[] = {SIGINT, SIGTERM};

}  // namespace

EndRequests::EndRequests() {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0)
        return;
    handle_ = fds[0];
    endRequested.store(false);
    endRequestPipe.store(fds[1]);
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndSignals)
        sigaction(signal, &action, nullptr);
}

EndRequests::~EndRequests() {
    if (handle_ == -1)
        return;
    // Once the end was asked for, the program is on its way out: a second
    // request (timeout(1) signals the child and then its process group) must
    // not cut short what is left, the lock's release and the clipboard's
    // hand-off. Otherwise the signals end the process at once again.
    const auto after = endRequested.load() ? SIG_IGN : SIG_DFL;
    for (const int signal : kEndSignals)
        std::signal(signal, after);
    ::close(endRequestPipe.exchange(-1));
    ::close(Fd(handle_));
}

WaitHandle EndRequests::Handle() const {
    return Readable(handle_);
}

bool EndRequests::Acknowledge() {
    if (handle_ == -1)
        return false;
    bool any = false;
    char bytes[64];
    ssize_t got = 0;
    while ((got = ::read(Fd(handle_), bytes, sizeof bytes)) > 0)
        any = true;
    return any;
}

}  // namespace velmo
