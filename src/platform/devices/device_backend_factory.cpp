#include "platform/devices/device_backend_factory.h"

#include "platform/sim/sim_device_bus.h"

namespace zv::devices {

std::shared_ptr<DeviceBackend> CreateDeviceBackend(DeviceBackendKind kind) {
    switch (kind) {
        case DeviceBackendKind::kSimulated:
            return std::make_shared<sim::SimDeviceBus>();
    }
    return nullptr;
}

}  // namespace zv::devices
