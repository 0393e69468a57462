#pragma once

#include "platform/sim/picture_parameters.h"
#include "platform/sim/sim_device_config.h"
#include "platform/sim/sim_device_log.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace zv::sim {

// The picture properties of one interface of a simulated device (processing unit or camera
// terminal): ranges, current values and flags. A write is checked against the range and the
// capability flags, logged whatever its outcome, and when accepted drives the picture setting of
// the rendered frames the property stands for. Properties the config does not list answer
// kNotFound. Once the device is unplugged every call answers kDeviceNotConnected.
// GUI thread; the picture parameters it drives are read by the streaming threads.
class SimPropertyStore {
public:
    SimPropertyStore(SimPropertyInterface which, int propertyCount,
                     const std::vector<SimPropertyConfig>& properties,
                     PictureParameters& parameters, SimDeviceLog& log,
                     const std::atomic<bool>& unplugged);

    Status GetRange(int property, std::int32_t* minimum, std::int32_t* maximum,
                    std::int32_t* steppingDelta, std::int32_t* defaultValue,
                    std::int32_t* capsFlags);
    Status Set(int property, std::int32_t value, std::int32_t flags);
    Status Get(int property, std::int32_t* value, std::int32_t* flags);

private:
    struct Property {
        bool present = false;
        SimPropertyConfig config;
        std::int32_t value = 0;
        std::int32_t flags = 0;
    };

    // The property, or null when the device lacks it; `status` says why.
    Property* Find(int property, Status* status);
    void Drive(const Property& property);

    const SimPropertyInterface m_which;
    std::vector<Property> m_properties;
    PictureParameters& m_parameters;
    SimDeviceLog& m_log;
    const std::atomic<bool>& m_unplugged;
};

}  // namespace zv::sim
