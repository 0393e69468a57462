#pragma once

#include "platform/devices/device_notifier.h"
#include "platform/guid.h"

#include <memory>

namespace zv::sim {

class SimNotificationHub;

// A registration on the simulated device bus for one interface class. Lives on the thread that
// registered; the hub posts changes to it there.
class SimDeviceNotifier : public devices::DeviceNotifier {
    Q_OBJECT

public:
    SimDeviceNotifier(std::shared_ptr<SimNotificationHub> hub, const Guid& interfaceClass);
    ~SimDeviceNotifier() override;

    const Guid& InterfaceClass() const { return m_interfaceClass; }

private:
    const std::shared_ptr<SimNotificationHub> m_hub;
    const Guid m_interfaceClass;
};

}  // namespace zv::sim
