#include <QSocketNotifier>

#include "qt/wake_ups.h"

namespace velmo {

void WatchWakeUp(const WaitHandle& handle, QObject* owner, std::function<void()> ready) {
    if (handle.kind != WaitHandle::Kind::ReadableFd)
        return;
    auto* notifier =
        new QSocketNotifier(static_cast<qintptr>(handle.value), QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, std::move(ready));
}

}  // namespace velmo
