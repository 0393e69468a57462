#pragma once

#include "platform/devices/device_backend.h"

#include <memory>

namespace zv::devices {

enum class DeviceBackendKind {
    // The simulated device bus (sim::SimDeviceBus), empty: the caller plugs what it needs, and
    // reaches Plug and Unplug through std::dynamic_pointer_cast<sim::SimDeviceBus>.
    kSimulated,
    // The real devices of the running system (v4l2::V4l2DeviceBackend): video4linux capture
    // nodes listed and watched through udev, extension units through the uvcvideo driver.
    kV4l2,
};

// The device system of `kind`. GUI thread.
std::shared_ptr<DeviceBackend> CreateDeviceBackend(DeviceBackendKind kind);

}  // namespace zv::devices
