#include "platform/devices/device_backend_factory.h"

#include "platform/sim/sim_device_bus.h"
#include "platform/v4l2/v4l2_device_backend.h"

namespace zv::devices {

std::shared_ptr<DeviceBackend> CreateDeviceBackend(DeviceBackendKind kind) {
    switch (kind) {
        case DeviceBackendKind::kSimulated:
            return std::make_shared<sim::SimDeviceBus>();
        case DeviceBackendKind::kV4l2:
            return std::make_shared<v4l2::V4l2DeviceBackend>();
    }
    return nullptr;
}

}  // namespace zv::devices
