#include <gtest/gtest.h>
#include <poll.h>

#include <csignal>

#include "platform/wake_up_test.h"

namespace velmo {

bool testing::ReadyWithin(const WaitHandle& handle, int milliseconds) {
    pollfd watch{static_cast<int>(handle.value), POLLIN, 0};
    return handle.kind == WaitHandle::Kind::ReadableFd && ::poll(&watch, 1, milliseconds) == 1;
}

std::vector<std::pair<std::string, std::function<void()>>> testing::EndRequestSenders() {
    return {{"SIGINT", [] { std::raise(SIGINT); }}, {"SIGTERM", [] { std::raise(SIGTERM); }}};
}

namespace {

// Once the program no longer listens, an end request ends it at once again.
TEST(EndRequestsTest, SignalsGetTheirDefaultBackAfterwards) {
    { const EndRequests requests; }
    for (const int signal : {SIGINT, SIGTERM}) {
        struct sigaction now {};
        sigaction(signal, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << signal;
    }
}

}  // namespace
}  // namespace velmo
