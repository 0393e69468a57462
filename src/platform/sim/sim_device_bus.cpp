#include "platform/sim/sim_device_bus.h"

#include "platform/sim/sim_device_enumerator.h"
#include "platform/sim/sim_device_filter.h"
#include "platform/sim/sim_device_notifier.h"
#include "platform/sim/sim_notification_hub.h"

#include <algorithm>
#include <utility>

namespace zv::sim {

namespace {

bool SamePath(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

SimDeviceBus::SimDeviceBus() : m_hub(std::make_shared<SimNotificationHub>()) {}

SimDeviceBus::~SimDeviceBus() {
    // Filters still held elsewhere (a window's graph) outlive the bus; they are gone for good.
    std::lock_guard lock(m_mutex);
    for (const auto& device : m_devices) {
        device->MarkUnplugged();
    }
}

devices::DeviceChangeEvent SimDeviceBus::InterfaceEvent(std::uint32_t eventCode,
                                                        const Guid& interfaceClass,
                                                        const QString& name) {
    devices::DeviceChangeEvent event;
    event.eventCode = eventCode;
    event.deviceType = devices::kDeviceTypeInterface;
    event.classGuid = interfaceClass;
    event.name = name;
    return event;
}

std::shared_ptr<SimDeviceFilter> SimDeviceBus::Plug(SimDeviceConfig config, bool announce) {
    std::shared_ptr<SimDeviceFilter> device;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& plugged : m_devices) {
            if (SamePath(plugged->DevicePath(), config.devicePath)) {
                return nullptr;
            }
        }
        device = SimDeviceFilter::Create(std::move(config));
        m_devices.push_back(device);
    }
    if (announce) {
        Raise(InterfaceEvent(devices::kDeviceArrival, device->DeviceConfig().interfaceClass,
                             device->DevicePath()));
    }
    return device;
}

bool SimDeviceBus::Unplug(const QString& devicePath, bool announce) {
    std::shared_ptr<SimDeviceFilter> device;
    {
        std::lock_guard lock(m_mutex);
        const auto found = std::find_if(m_devices.begin(), m_devices.end(), [&](const auto& d) {
            return SamePath(d->DevicePath(), devicePath);
        });
        if (found == m_devices.end()) {
            return false;
        }
        device = *found;
        m_devices.erase(found);
    }
    device->MarkUnplugged();
    if (announce) {
        Raise(InterfaceEvent(devices::kDeviceRemoveComplete, device->DeviceConfig().interfaceClass,
                             device->DevicePath()));
    }
    return true;
}

int SimDeviceBus::Raise(const devices::DeviceChangeEvent& event) {
    return m_hub->Deliver(event);
}

std::vector<std::shared_ptr<SimDeviceFilter>> SimDeviceBus::Devices() const {
    std::lock_guard lock(m_mutex);
    return m_devices;
}

std::shared_ptr<SimDeviceFilter> SimDeviceBus::Find(const QString& devicePath) const {
    std::lock_guard lock(m_mutex);
    for (const auto& device : m_devices) {
        if (SamePath(device->DevicePath(), devicePath)) {
            return device;
        }
    }
    return nullptr;
}

int SimDeviceBus::RegistrationCount() const {
    return m_hub->RegistrationCount();
}

Status SimDeviceBus::CreateClassEnumerator(const Guid& category,
                                           std::unique_ptr<devices::DeviceEnumerator>* enumerator) {
    if (enumerator == nullptr) {
        return kPointer;
    }
    enumerator->reset();
    std::vector<std::shared_ptr<SimDeviceFilter>> listed;
    if (category == devices::kVideoInputDeviceCategory) {
        std::lock_guard lock(m_mutex);
        for (const auto& device : m_devices) {
            if (device->DeviceConfig().interfaceClass == contract::kCaptureInterfaceCategory) {
                listed.push_back(device);
            }
        }
    }
    if (listed.empty()) {
        return kFalse;
    }
    *enumerator = std::make_unique<SimDeviceEnumerator>(std::move(listed));
    return kOk;
}

std::unique_ptr<devices::DeviceNotifier> SimDeviceBus::RegisterDeviceNotification(
    const Guid& interfaceClass) {
    return std::make_unique<SimDeviceNotifier>(m_hub, interfaceClass);
}

}  // namespace zv::sim
