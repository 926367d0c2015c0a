#include <windows.h>

#include "core/wake_up_test.h"

namespace velmo {

bool testing::ReadyWithin(const WaitHandle& handle, int milliseconds) {
    return handle.kind == WaitHandle::Kind::SignalledHandle &&
           WaitForSingleObject(reinterpret_cast<HANDLE>(handle.value),
                               static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
}

std::vector<std::pair<std::string, std::function<void()>>> testing::EndRequestSenders() {
    return {{"Ctrl+C", [] { GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0); }},
            {"Ctrl+Break", [] { GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, 0); }}};
}

}  // namespace velmo
