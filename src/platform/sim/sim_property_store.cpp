#include "platform/sim/sim_property_store.h"

#include "platform/devices/ks_property.h"
#include "platform/devices/property_control.h"

#include <algorithm>

namespace zv::sim {

SimPropertyStore::SimPropertyStore(SimPropertyInterface which, int propertyCount,
                                   const std::vector<SimPropertyConfig>& properties,
                                   PictureParameters& parameters, SimDeviceLog& log,
                                   const std::atomic<bool>& unplugged)
    : m_which(which),
      m_properties(static_cast<std::size_t>(propertyCount)),
      m_parameters(parameters),
      m_log(log),
      m_unplugged(unplugged) {
    for (const SimPropertyConfig& config : properties) {
        if (config.index < 0 || config.index >= propertyCount) {
            continue;
        }
        Property& property = m_properties[static_cast<std::size_t>(config.index)];
        property.present = true;
        property.config = config;
        property.value = config.initialValue.value_or(config.defaultValue);
        property.flags = config.initialFlags;
        Drive(property);
    }
}

SimPropertyStore::Property* SimPropertyStore::Find(int property, Status* status) {
    if (m_unplugged.load()) {
        *status = devices::kDeviceNotConnected;
        return nullptr;
    }
    if (property < 0 || property >= static_cast<int>(m_properties.size()) ||
        !m_properties[static_cast<std::size_t>(property)].present) {
        *status = kNotFound;
        return nullptr;
    }
    *status = kOk;
    return &m_properties[static_cast<std::size_t>(property)];
}

void SimPropertyStore::Drive(const Property& property) {
    if (!property.config.drives.has_value()) {
        return;
    }
    // The frames follow the device within what the renderer knows how to apply.
    const PropertyRange range = PictureParameters::Range(*property.config.drives);
    m_parameters.Set(*property.config.drives,
                     std::clamp(property.value, range.minimum, range.maximum));
}

Status SimPropertyStore::GetRange(int property, std::int32_t* minimum, std::int32_t* maximum,
                                  std::int32_t* steppingDelta, std::int32_t* defaultValue,
                                  std::int32_t* capsFlags) {
    if (minimum == nullptr || maximum == nullptr || steppingDelta == nullptr ||
        defaultValue == nullptr || capsFlags == nullptr) {
        return kPointer;
    }
    Status status = kOk;
    const Property* found = Find(property, &status);
    if (found == nullptr) {
        return status;
    }
    if (Failed(found->config.rangeResult)) {
        return found->config.rangeResult;
    }
    *minimum = found->config.minimum;
    *maximum = found->config.maximum;
    *steppingDelta = found->config.steppingDelta;
    *defaultValue = found->config.defaultValue;
    *capsFlags = found->config.capsFlags;
    return kOk;
}

Status SimPropertyStore::Set(int property, std::int32_t value, std::int32_t flags) {
    Status status = kOk;
    Property* found = Find(property, &status);
    if (found != nullptr) {
        constexpr std::int32_t kKnownFlags =
            devices::kPropertyFlagsAuto | devices::kPropertyFlagsManual;
        const bool flagsOffered = (flags & ~kKnownFlags) == 0 &&
                                  ((flags & devices::kPropertyFlagsAuto) == 0 ||
                                   (found->config.capsFlags & devices::kPropertyFlagsAuto) != 0);
        if (!flagsOffered || value < found->config.minimum || value > found->config.maximum) {
            status = kInvalidArg;
        } else {
            found->value = value;
            found->flags = flags;
            Drive(*found);
        }
    }
    m_log.AddPropertyWrite({m_which, property, value, flags, status});
    return status;
}

Status SimPropertyStore::Get(int property, std::int32_t* value, std::int32_t* flags) {
    if (value == nullptr || flags == nullptr) {
        return kPointer;
    }
    Status status = kOk;
    const Property* found = Find(property, &status);
    if (found == nullptr) {
        return status;
    }
    *value = found->value;
    *flags = found->flags;
    return kOk;
}

}  // namespace zv::sim
