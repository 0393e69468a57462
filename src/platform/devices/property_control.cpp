#include "platform/devices/property_control.h"

namespace zv::devices {

Status PropertyControl::SetAndRead(int property, std::int32_t value, std::int32_t flags,
                                   std::int32_t* held) {
    if (held == nullptr) {
        return kPointer;
    }
    const Status status = Set(property, value, flags);
    if (Failed(status)) {
        return status;
    }
    std::int32_t current = 0;
    std::int32_t currentFlags = 0;
    // A value that cannot be read back is taken as written.
    *held = Succeeded(Get(property, &current, &currentFlags)) ? current : value;
    return status;
}

QString PropertyControl::UnavailableReason(int /*property*/) const {
    return {};
}

}  // namespace zv::devices
