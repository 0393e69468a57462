#include "platform/sim/sim_device_entry.h"

#include "platform/sim/sim_device_filter.h"

#include <utility>

namespace zv::sim {

SimDeviceEntry::SimDeviceEntry(std::shared_ptr<SimDeviceFilter> device)
    : m_device(std::move(device)) {}

Status SimDeviceEntry::BindFilter(std::shared_ptr<media::Filter>* filter) {
    if (filter == nullptr) {
        return kPointer;
    }
    if (!m_device->IsPlugged()) {
        return devices::kDeviceNotConnected;
    }
    if (Failed(m_device->DeviceConfig().bindResult)) {
        return m_device->DeviceConfig().bindResult;
    }
    *filter = m_device;
    return kOk;
}

Status SimDeviceEntry::ReadProperty(const QString& name, QString* value) {
    if (value == nullptr) {
        return kPointer;
    }
    if (!m_device->IsPlugged()) {
        return devices::kDeviceNotConnected;
    }
    if (name == QLatin1String(devices::kDevicePathProperty)) {
        if (Failed(m_device->DeviceConfig().devicePathResult)) {
            return m_device->DeviceConfig().devicePathResult;
        }
        *value = m_device->DevicePath();
        return kOk;
    }
    if (name == QLatin1String("FriendlyName")) {
        *value = m_device->DeviceConfig().friendlyName;
        return kOk;
    }
    return kNotFound;
}

}  // namespace zv::sim
