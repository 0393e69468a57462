#include "app/device_system.h"

#include "platform/sim/sim_device_bus.h"
#include "platform/sim/sim_device_config.h"
#include "platform/v4l2/v4l2_device_backend.h"

namespace zv {

std::shared_ptr<devices::DeviceBackend> CreateDeviceSystem(bool simulatedScanner,
                                                           std::chrono::milliseconds filmAdvance) {
    if (!simulatedScanner) {
        return std::make_shared<v4l2::V4l2DeviceBackend>();
    }
    auto bus = std::make_shared<sim::SimDeviceBus>();
    sim::SimDeviceConfig device = sim::ScannerDevice();
    device.capture.filmAdvanceInterval = filmAdvance;
    // Plugged before anyone listens: discovery at start finds it.
    bus->Plug(std::move(device), false);
    return bus;
}

}  // namespace zv
