#include "app/device_system.h"

#include "platform/devices/device_backend_factory.h"
#include "platform/sim/sim_device_bus.h"
#include "platform/sim/sim_device_config.h"

namespace zv {

std::shared_ptr<devices::DeviceBackend> CreateDeviceSystem(bool simulatedScanner,
                                                           std::chrono::milliseconds filmAdvance) {
    if (!simulatedScanner) {
        return devices::CreateDeviceBackend(devices::DeviceBackendKind::kV4l2);
    }
    auto bus = std::make_shared<sim::SimDeviceBus>();
    sim::SimDeviceConfig device = sim::ScannerDevice();
    device.capture.filmAdvanceInterval = filmAdvance;
    // Plugged before anyone listens: discovery at start finds it.
    bus->Plug(std::move(device), false);
    return bus;
}

}  // namespace zv
