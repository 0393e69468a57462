#pragma once

#include "platform/devices/device_backend.h"

#include <memory>

namespace zv::devices {

enum class DeviceBackendKind {
    // The simulated device bus (sim::SimDeviceBus), empty: the caller plugs what it needs, and
    // reaches Plug and Unplug through std::dynamic_pointer_cast<sim::SimDeviceBus>.
    kSimulated,
};

// The device system of `kind`. GUI thread.
std::shared_ptr<DeviceBackend> CreateDeviceBackend(DeviceBackendKind kind);

}  // namespace zv::devices
