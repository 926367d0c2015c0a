#pragma once

// What the shared tests of the wake-ups need from each platform.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/wake_up.h"

namespace velmo::testing {

// Whether `handle` is ready within `milliseconds`. Like an event loop's
// wait, it may reset a handle that resets itself.
bool ReadyWithin(const WaitHandle& handle, int milliseconds);

// Each way this process can be asked to end that a test can send, by name.
std::vector<std::pair<std::string, std::function<void()>>> EndRequestSenders();

}  // namespace velmo::testing
