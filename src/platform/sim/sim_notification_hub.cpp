#include "platform/sim/sim_notification_hub.h"

#include "platform/sim/sim_device_notifier.h"

#include <QMetaObject>

#include <algorithm>

namespace zv::sim {

void SimNotificationHub::Register(SimDeviceNotifier* notifier) {
    std::lock_guard lock(m_mutex);
    m_notifiers.push_back(notifier);
}

void SimNotificationHub::Unregister(SimDeviceNotifier* notifier) {
    std::lock_guard lock(m_mutex);
    std::erase(m_notifiers, notifier);
}

int SimNotificationHub::RegistrationCount() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_notifiers.size());
}

int SimNotificationHub::Deliver(const devices::DeviceChangeEvent& event) {
    std::lock_guard lock(m_mutex);
    int posted = 0;
    for (SimDeviceNotifier* notifier : m_notifiers) {
        if (event.deviceType == devices::kDeviceTypeInterface &&
            event.classGuid != notifier->InterfaceClass()) {
            continue;
        }
        // Queued even on the notifier's own thread: a change never arrives inside the call that
        // caused it. A notifier destroyed before the post runs drops it.
        QMetaObject::invokeMethod(
            notifier, [notifier, event] { emit notifier->deviceChange(event); },
            Qt::QueuedConnection);
        ++posted;
    }
    return posted;
}

}  // namespace zv::sim
