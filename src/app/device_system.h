#pragma once

#include <memory>

namespace zv {

namespace devices {
class DeviceBackend;
}

// The device system the program runs on: the real scanners of this machine, or the simulated
// device bus with one simulated film scanner plugged in. GUI thread.
std::shared_ptr<devices::DeviceBackend> CreateDeviceSystem(bool simulatedScanner);

}  // namespace zv
