#pragma once

#include "platform/devices/device_enumerator.h"

#include <memory>
#include <vector>

namespace zv::sim {

class SimDeviceFilter;

// The simulated bus's video input devices in plug order, as they were when it was made. GUI
// thread.
class SimDeviceEnumerator : public devices::DeviceEnumerator {
public:
    explicit SimDeviceEnumerator(std::vector<std::shared_ptr<SimDeviceFilter>> devices);

    Status Next(std::unique_ptr<devices::DeviceEntry>* entry) override;

private:
    const std::vector<std::shared_ptr<SimDeviceFilter>> m_devices;
    std::size_t m_next = 0;
};

}  // namespace zv::sim
