#include "platform/sim/sim_device_notifier.h"

#include "platform/sim/sim_notification_hub.h"

#include <utility>

namespace zv::sim {

SimDeviceNotifier::SimDeviceNotifier(std::shared_ptr<SimNotificationHub> hub,
                                     const Guid& interfaceClass)
    : m_hub(std::move(hub)), m_interfaceClass(interfaceClass) {
    m_hub->Register(this);
}

SimDeviceNotifier::~SimDeviceNotifier() {
    m_hub->Unregister(this);
}

}  // namespace zv::sim
