#include "platform/sim/sim_device_enumerator.h"

#include "platform/sim/sim_device_entry.h"
#include "platform/sim/sim_device_filter.h"

#include <utility>

namespace zv::sim {

SimDeviceEnumerator::SimDeviceEnumerator(std::vector<std::shared_ptr<SimDeviceFilter>> devices)
    : m_devices(std::move(devices)) {}

Status SimDeviceEnumerator::Next(std::unique_ptr<devices::DeviceEntry>* entry) {
    if (entry == nullptr) {
        return kPointer;
    }
    if (m_next >= m_devices.size()) {
        return kFalse;
    }
    *entry = std::make_unique<SimDeviceEntry>(m_devices[m_next++]);
    return kOk;
}

}  // namespace zv::sim
