#include "platform/wake_up_windows.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/wake_up_test.h"

namespace velmo {

bool testing::ReadyWithin(const WaitHandle& handle, int milliseconds) {
    return handle.kind == WaitHandle::Kind::SignalledHandle &&
           WaitForSingleObject(reinterpret_cast<HANDLE>(handle.value),
                               static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
}

// The handler called as the system would, on a thread of its own: Wine sends
// no console events to a program without a console window. After the last
// three the thread stays until the process ends.
std::vector<std::pair<std::string, std::function<void()>>> testing::EndRequestSenders() {
    const auto send = [](DWORD event) {
        return [event] { std::thread([event] { OnConsoleEvent(event); }).detach(); };
    };
    return {{"Ctrl+C", send(CTRL_C_EVENT)},
            {"Ctrl+Break", send(CTRL_BREAK_EVENT)},
            {"closing the console", send(CTRL_CLOSE_EVENT)},
            {"logging off", send(CTRL_LOGOFF_EVENT)},
            {"shutting down", send(CTRL_SHUTDOWN_EVENT)}};
}

namespace {

TEST(EndRequestsTest, ConsoleEventsGetTheirDefaultBackAfterwards) {
    { const EndRequests requests; }
    EXPECT_FALSE(OnConsoleEvent(CTRL_C_EVENT));
}

}  // namespace
}  // namespace velmo
