#include <QWinEventNotifier>

#include "qt/wake_ups.h"

namespace velmo {

void WatchWakeUp(const WaitHandle& handle, QObject* owner, std::function<void()> ready) {
    if (handle.kind != WaitHandle::Kind::SignalledHandle)
        return;
    auto* notifier = new QWinEventNotifier(reinterpret_cast<Qt::HANDLE>(handle.value), owner);
    QObject::connect(notifier, &QWinEventNotifier::activated, owner,
                     [ready = std::move(ready)] { ready(); });
}

}  // namespace velmo
