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

// Once the program no longer listens, an end request ends it at once again;
// but not while it is already ending because of one.
TEST(EndRequestsTest, SignalsGetTheirDefaultBackUnlessTheEndWasAskedFor) {
    for (const int asked : {0, SIGTERM, SIGINT, 0}) {
        {
            const EndRequests requests;
            if (asked != 0)
                std::raise(asked);
        }
        for (const int signal : {SIGINT, SIGTERM}) {
            struct sigaction now {};
            sigaction(signal, nullptr, &now);
            EXPECT_EQ(now.sa_handler, asked != 0 ? SIG_IGN : SIG_DFL) << asked << " " << signal;
            std::signal(signal, SIG_DFL);
        }
    }
}

}  // namespace
}  // namespace velmo
