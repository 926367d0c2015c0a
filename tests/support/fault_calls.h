#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace velmo::testing {

// The real calls of `Real`, with one of them made to fail: the `failAt`-th
// call of all, or every call of one step. Records the steps asked for and the
// handles opened, to find one closed twice or never.
template <typename Real, typename Step, typename Handle>
class FaultyCalls : public Real {
  public:
    std::optional<Step> failStep;  // every call of this step fails
    int failAt = 0;                // or only this call of all (counting from 1)
    bool removeFails = false;      // the clean-up fails too, for another reason
    std::vector<Step> steps;
    std::optional<Step> failed;  // the step that was made to fail
    std::set<Handle> open;
    bool closedTwice = false;

  protected:
    virtual void Fail() = 0;  // gives the reason of the call made to fail
    // Leaves a stale reason behind a call that succeeds, so that one read
    // after a later call instead of the failing one shows up as the wrong one.
    virtual void Succeed() = 0;

    // Keeps count of the handles a create gives and a close takes. A failing
    // close is made all the same, as it still releases the handle.
    template <typename R, typename... Params, typename... Args>
    R Call(Step step, std::type_identity_t<R> failure, R (Real::*real)(Params...), Args&&... args) {
        if constexpr (std::is_same_v<void(Params...), void(Handle)>)
            if (step == Step::Close)
                closedTwice |= open.erase(args...) == 0;
        steps.push_back(step);
        const bool fails = failStep == step || failAt == static_cast<int>(steps.size());
        const R result = fails && step != Step::Close
                             ? failure
                             : (Real::System().*real)(std::forward<Args>(args)...);
        if (fails) {
            failed = step;
            Fail();
            return failure;
        }
        if (result != failure)
            Succeed();
        if constexpr (std::is_same_v<R, Handle>)
            if (step == Step::Create && result != failure)
                open.insert(result);
        return result;
    }
};

// Replaces a file with each call in turn failing, from the first, until a
// run goes through: `run` makes one replacement with `calls` and checks what
// it left. Every run closes what it opened, once; each step of the run that
// went through, whose steps are `steps` with repeats left out, fails in one
// run; and the data goes in pieces.
template <typename Calls, typename Step, typename Run>
void FailEachCallInTurn(Calls& calls, const std::vector<Step>& steps, Run run) {
    std::set<Step> failed;
    for (int call = 1; call < 1000; ++call) {
        SCOPED_TRACE("call " + std::to_string(call));
        calls = Calls();
        calls.maxWrite = 4096;  // a failure can also come halfway through the data
        calls.failAt = call;
        run();
        EXPECT_TRUE(calls.open.empty()) << "the temporary file was closed";
        EXPECT_FALSE(calls.closedTwice);
        if (!calls.failed) {
            calls.steps.erase(std::unique(calls.steps.begin(), calls.steps.end()),
                              calls.steps.end());
            EXPECT_EQ(calls.steps, steps);
            EXPECT_GT(call, 25) << "a write in pieces";
            break;
        }
        failed.insert(*calls.failed);
    }
    EXPECT_EQ(failed, std::set<Step>(steps.begin(), steps.end()));
}

}  // namespace velmo::testing
