#pragma once

#include "platform/devices/property_control.h"
#include "platform/status.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace zv::test {

// Picture properties whose answers a test sets property by property (a device that cannot read
// a value, or refuses every write), noting the writes and calling `onSet` with each. `Interface`
// is devices::VideoProcAmp or devices::CameraControl.
template <class Interface>
class ScriptedProperties final : public Interface {
public:
    struct Property {
        std::int32_t minimum = 0;
        std::int32_t maximum = 100;
        std::int32_t steppingDelta = 1;
        std::int32_t defaultValue = 50;
        std::int32_t capsFlags = devices::kPropertyFlagsManual;
        std::int32_t value = 50;
        std::int32_t flags = devices::kPropertyFlagsManual;
        Status getResult = kOk;
        Status setResult = kOk;
        // The device keeps a written value rounded down to a multiple of this.
        std::int32_t keptStep = 1;
    };
    struct Write {
        int property;
        std::int32_t value;
        std::int32_t flags;
        friend bool operator==(const Write&, const Write&) = default;
    };

    std::map<int, Property> properties;
    std::vector<Write> writes;
    std::function<void(int property)> onSet;
    // What UnavailableReason answers for every property.
    QString unavailableReason;

    Status GetRange(int property, std::int32_t* minimum, std::int32_t* maximum,
                    std::int32_t* steppingDelta, std::int32_t* defaultValue,
                    std::int32_t* capsFlags) override {
        const auto found = properties.find(property);
        if (found == properties.end()) {
            return kNotFound;
        }
        *minimum = found->second.minimum;
        *maximum = found->second.maximum;
        *steppingDelta = found->second.steppingDelta;
        *defaultValue = found->second.defaultValue;
        *capsFlags = found->second.capsFlags;
        return kOk;
    }
    Status Set(int property, std::int32_t value, std::int32_t flags) override {
        writes.push_back({property, value, flags});
        if (onSet) {
            onSet(property);
        }
        const auto found = properties.find(property);
        if (found == properties.end()) {
            return kNotFound;
        }
        if (Failed(found->second.setResult)) {
            return found->second.setResult;
        }
        found->second.value = value / found->second.keptStep * found->second.keptStep;
        found->second.flags = flags;
        return kOk;
    }
    Status Get(int property, std::int32_t* value, std::int32_t* flags) override {
        const auto found = properties.find(property);
        if (found == properties.end()) {
            return kNotFound;
        }
        if (Failed(found->second.getResult)) {
            // What a failing device leaves behind in the caller's variables.
            *value = -999;
            *flags = -999;
            return found->second.getResult;
        }
        *value = found->second.value;
        *flags = found->second.flags;
        return kOk;
    }
    QString UnavailableReason(int) const override { return unavailableReason; }
};

}  // namespace zv::test
