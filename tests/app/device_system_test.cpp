#include "app/device_system.h"

#include "platform/devices/device_backend.h"
#include "platform/devices/device_enumerator.h"
#include "platform/sim/sim_device_bus.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

// The simulated device system is a bus with the scanner already plugged in, found through the
// plain device interfaces as discovery at start finds it.
TEST(DeviceSystem, SimulatedSystemHoldsOnePluggedScanner) {
    const auto backend = CreateDeviceSystem(true);
    const auto bus = std::dynamic_pointer_cast<sim::SimDeviceBus>(backend);
    ASSERT_NE(bus, nullptr);
    EXPECT_EQ(bus->Devices().size(), 1u);
    std::unique_ptr<devices::DeviceEnumerator> enumerator;
    EXPECT_EQ(backend->CreateClassEnumerator(devices::kVideoInputDeviceCategory, &enumerator), kOk);
    EXPECT_NE(enumerator, nullptr);
}

}  // namespace
}  // namespace zv
