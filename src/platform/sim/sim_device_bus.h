#pragma once

#include "platform/devices/device_backend.h"
#include "platform/sim/sim_device_config.h"

#include <memory>
#include <mutex>
#include <vector>

namespace zv::sim {

class SimDeviceFilter;
class SimNotificationHub;

// The simulated device system: tests and the program plug and unplug simulated devices on it,
// and the system lists them (video inputs in plug order) and hears of their arrival and removal
// through its notifiers, exactly as through a real backend.
// Plug, Unplug, Raise and the lookups may be called from any thread; the notifications arrive on
// each registration's own thread. The device list and the notifiers are used on the GUI thread.
class SimDeviceBus : public devices::DeviceBackend {
public:
    SimDeviceBus();
    ~SimDeviceBus() override;
    SimDeviceBus(const SimDeviceBus&) = delete;
    SimDeviceBus& operator=(const SimDeviceBus&) = delete;

    // Plugs a device at the end of the list and, when `announce`, raises its arrival. Returns the
    // device, or null (nothing plugged) when a device of the same path, compared without regard
    // to case, is plugged already.
    std::shared_ptr<SimDeviceFilter> Plug(SimDeviceConfig config, bool announce = true);
    // Unplugs the device of this path (compared without regard to case): it leaves the list, its
    // filter stops answering device calls, and, when `announce`, its removal is raised with the
    // path it was plugged with. False when no such device is plugged.
    bool Unplug(const QString& devicePath, bool announce = true);
    // Raises a change as given (another spelling, another class, another device type). Returns
    // how many registrations it was posted to.
    int Raise(const devices::DeviceChangeEvent& event);

    // Plugged devices in list order.
    std::vector<std::shared_ptr<SimDeviceFilter>> Devices() const;
    // The plugged device of this path (without regard to case), or null.
    std::shared_ptr<SimDeviceFilter> Find(const QString& devicePath) const;
    int RegistrationCount() const;

    Status CreateClassEnumerator(const Guid& category,
                                 std::unique_ptr<devices::DeviceEnumerator>* enumerator) override;
    std::unique_ptr<devices::DeviceNotifier> RegisterDeviceNotification(
        const Guid& interfaceClass) override;

    // The device-interface change a device of this bus raises.
    static devices::DeviceChangeEvent InterfaceEvent(std::uint32_t eventCode,
                                                     const Guid& interfaceClass,
                                                     const QString& name);

private:
    // Protects m_devices.
    mutable std::mutex m_mutex;
    std::vector<std::shared_ptr<SimDeviceFilter>> m_devices;
    const std::shared_ptr<SimNotificationHub> m_hub;
};

}  // namespace zv::sim
