#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>

#include "platform/wake_up.h"
#include "platform/wake_up_windows.h"

namespace velmo {

namespace {

HANDLE Native(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

WaitHandle Signalled(std::intptr_t handle) {
    return handle != 0 ? WaitHandle{WaitHandle::Kind::SignalledHandle, handle} : WaitHandle{};
}

// Since Windows 8 a waitable timer's relative due time stands still while the
// computer sleeps; an absolute one, on the system clock (UTC), does not. The
// system clock can be set, though, so the deadline is kept on GetTickCount64
// as well, the interrupt time that counts sleep (QueryUnbiasedInterruptTime
// would not) and that nobody sets. A timer that goes off early because the
// clock was set forward is set again for the rest; no single setting is
// longer than this, so that a clock set back delays the timer no more.
constexpr std::uint64_t kLongestSettingMs = 15 * 60 * 1000;

// Waits beyond this (some thirty years) are taken as this.
constexpr double kLongestWaitSeconds = 1e9;

bool Arm(HANDLE timer, std::uint64_t waitMs) {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER due{};
    due.LowPart = now.dwLowDateTime;
    due.HighPart = now.dwHighDateTime;
    // In 100-nanosecond units; positive is an absolute time.
    LARGE_INTEGER when{};
    when.QuadPart =
        static_cast<LONGLONG>(due.QuadPart + std::min(waitMs, kLongestSettingMs) * 10'000);
    return SetWaitableTimer(timer, &when, 0, nullptr, nullptr, FALSE) != 0;
}

}  // namespace

WakeTimer::WakeTimer() {
    // Auto-reset: the wait that sees it go off also resets it.
    handle_ = reinterpret_cast<std::intptr_t>(
        CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_MODIFY_STATE | SYNCHRONIZE));
}

WakeTimer::~WakeTimer() {
    if (handle_ != 0)
        CloseHandle(Native(handle_));
}

void WakeTimer::Start(double seconds) {
    armed_ = false;
    if (handle_ == 0)
        return;
    const double wait = seconds > 0 ? std::min(seconds, kLongestWaitSeconds) : 0;
    const auto waitMs = static_cast<std::uint64_t>(std::ceil(wait * 1000));
    dueAtMs_ = GetTickCount64() + waitMs;
    armed_ = Arm(Native(handle_), waitMs);
}

void WakeTimer::Stop() {
    armed_ = false;
    if (handle_ != 0)
        CancelWaitableTimer(Native(handle_));
}

WaitHandle WakeTimer::Handle() const {
    return Signalled(handle_);
}

bool WakeTimer::Acknowledge() {
    if (!armed_)
        return false;
    const std::uint64_t now = GetTickCount64();
    if (now < dueAtMs_) {
        armed_ = Arm(Native(handle_), dueAtMs_ - now);
        return false;
    }
    armed_ = false;
    return true;
}

namespace {

// Made once and kept for the life of the process, so that a handler running
// on its own thread never sees it closed.
HANDLE EndRequestEvent() {
    static const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    return event;
}

std::atomic<bool> endRequestsWanted{false};
std::atomic<bool> endRequested{false};

}  // namespace

BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            break;
        default:
            return FALSE;
    }
    if (!endRequestsWanted.load())
        return FALSE;
    endRequested.store(true);
    SetEvent(EndRequestEvent());
    // After the closing and session-end events the system ends the process as
    // soon as this returns: wait here while the program closes itself. Its exit
    // ends this thread, and the system's own time limit still applies.
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        Sleep(INFINITE);
    return TRUE;
}

EndRequests::EndRequests() {
    const HANDLE event = EndRequestEvent();
    if (event == nullptr || SetConsoleCtrlHandler(OnConsoleEvent, TRUE) == 0)
        return;
    handle_ = reinterpret_cast<std::intptr_t>(event);
    endRequested.store(false);
    endRequestsWanted.store(true);
}

EndRequests::~EndRequests() {
    if (handle_ == -1)
        return;
    endRequestsWanted.store(false);
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
}

WaitHandle EndRequests::Handle() const {
    return handle_ != -1 ? Signalled(handle_) : WaitHandle{};
}

bool EndRequests::Acknowledge() {
    return handle_ != -1 && endRequested.exchange(false);
}

}  // namespace velmo
