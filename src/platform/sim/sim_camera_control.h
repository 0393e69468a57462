#pragma once

#include "platform/devices/camera_control.h"
#include "platform/sim/sim_property_store.h"

namespace zv::sim {

// The simulated device's camera terminal properties, over its property store. GUI thread.
class SimCameraControl final : public devices::CameraControl {
public:
    explicit SimCameraControl(SimPropertyStore& store) : m_store(store) {}

    Status GetRange(int property, std::int32_t* minimum, std::int32_t* maximum,
                    std::int32_t* steppingDelta, std::int32_t* defaultValue,
                    std::int32_t* capsFlags) override {
        return m_store.GetRange(property, minimum, maximum, steppingDelta, defaultValue, capsFlags);
    }
    Status Set(int property, std::int32_t value, std::int32_t flags) override {
        return m_store.Set(property, value, flags);
    }
    Status Get(int property, std::int32_t* value, std::int32_t* flags) override {
        return m_store.Get(property, value, flags);
    }

private:
    SimPropertyStore& m_store;
};

}  // namespace zv::sim
