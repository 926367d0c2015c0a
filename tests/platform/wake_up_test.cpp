#include "platform/wake_up_test.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <thread>

#include "platform/random.h"
#include "platform/wake_up.h"

namespace velmo {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seconds until the timer goes off as the event loop sees it (its handle
// ready, then acknowledged), or -1 when it does not within `limit`.
double GoesOffAfter(WakeTimer& timer, double limit) {
    const auto start = Clock::now();
    for (;;) {
        const int left = static_cast<int>((limit - SecondsSince(start)) * 1000);
        if (left <= 0)
            return -1;
        if (testing::ReadyWithin(timer.Handle(), left) && timer.Acknowledge())
            return SecondsSince(start);
    }
}

TEST(WakeTimerTest, GoesOffOnceWhenDueUnlessStoppedOrStartedAgain) {
    enum class Then { Nothing, Stop, StopAfterDue, StartAgain };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        double seconds;
        Then then;
        double again;
        bool goesOff;
        double notBefore;
    } cases[] = {
        {"a fifth of a second", 0.2, Then::Nothing, 0, true, 0.15},
        {"zero is at once", 0, Then::Nothing, 0, true, 0},
        {"negative is at once", -5, Then::Nothing, 0, true, 0},
        {"not a number is at once", nan, Then::Nothing, 0, true, 0},
        {"beyond thirty years is not now", 1e300, Then::Nothing, 0, false, 0},
        {"stopped before due", 0.1, Then::Stop, 0, false, 0},
        {"stopped when due, before the loop saw it", 0, Then::StopAfterDue, 0, false, 0},
        {"started again for later", 0.1, Then::StartAgain, 30, false, 0},
        {"started again for sooner", 30, Then::StartAgain, 0.1, true, 0.05},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WakeTimer timer;
        ASSERT_NE(timer.Handle().kind, WaitHandle::Kind::None);
        timer.Start(c.seconds);
        if (c.then == Then::StopAfterDue)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (c.then == Then::Stop || c.then == Then::StopAfterDue)
            timer.Stop();
        if (c.then == Then::StartAgain)
            timer.Start(c.again);
        // Not even a wake-up, so the loop stays idle; only a timer stopped
        // when it was already due may wake it once, without going off.
        if (c.then == Then::StopAfterDue) {
            EXPECT_EQ(GoesOffAfter(timer, 0.4), -1);
        } else if (!c.goesOff) {
            EXPECT_FALSE(testing::ReadyWithin(timer.Handle(), 400));
        } else {
            EXPECT_GE(GoesOffAfter(timer, 0.4), c.notBefore);  // -1 when it does not
            EXPECT_FALSE(testing::ReadyWithin(timer.Handle(), 100))
                << "left ready, the loop would spin";
        }
    }
}

TEST(EndRequestsTest, EachRequestWakesTheLoopOnceAndLeavesTheProcessRunning) {
    for (const auto& [name, send] : testing::EndRequestSenders()) {
        SCOPED_TRACE(name);
        EndRequests requests;
        ASSERT_NE(requests.Handle().kind, WaitHandle::Kind::None);
        EXPECT_FALSE(requests.Acknowledge());
        send();
        EXPECT_TRUE(testing::ReadyWithin(requests.Handle(), 5000));
        EXPECT_TRUE(requests.Acknowledge());
        EXPECT_FALSE(requests.Acknowledge());
        EXPECT_FALSE(testing::ReadyWithin(requests.Handle(), 50));
    }
}

// Each run picks other quotes: two generators do not draw the same numbers.
TEST(StandardRandomTest, EachStartsElsewhereAndStaysInItsBounds) {
    StandardRandom one, other;
    int same = 0;
    for (int i = 0; i < 8; ++i)
        same += one.Between(1, 1 << 30) == other.Between(1, 1 << 30) ? 1 : 0;
    EXPECT_LT(same, 8);
    EXPECT_EQ(one.Between(5, 2), 5);  // an empty range gives its lower bound
}

}  // namespace
}  // namespace velmo
