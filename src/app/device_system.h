#pragma once

#include <chrono>
#include <memory>

namespace zv {

namespace devices {
class DeviceBackend;
}

// The device system the program runs on: the real scanners of this machine, or the simulated
// device bus with one simulated film scanner plugged in, whose film moves on by itself every
// `filmAdvance` (zero: only by hand). GUI thread.
std::shared_ptr<devices::DeviceBackend> CreateDeviceSystem(
    bool simulatedScanner, std::chrono::milliseconds filmAdvance = {});

}  // namespace zv
