#pragma once

#include "platform/status.h"

#include <QString>

#include <cstdint>

namespace zv::devices {

// Control flags of a picture property: automatic mode (the device sets the value itself) or
// manual mode. A capability flags value of a range tells which of the two the property offers.
inline constexpr std::int32_t kPropertyFlagsAuto = 0x1;
inline constexpr std::int32_t kPropertyFlagsManual = 0x2;

// The picture properties of a device, addressed by property index: the common shape of the video
// processing amplifier (VideoProcAmp) and the camera control (CameraControl). A property the
// device does not offer answers kNotFound on every call. GUI thread.
class PropertyControl {
public:
    virtual ~PropertyControl() = default;

    virtual Status GetRange(int property, std::int32_t* minimum, std::int32_t* maximum,
                            std::int32_t* steppingDelta, std::int32_t* defaultValue,
                            std::int32_t* capsFlags) = 0;
    // kInvalidArg for a value outside the range or flags the property does not offer (0 counts
    // as manual).
    virtual Status Set(int property, std::int32_t value, std::int32_t flags) = 0;
    virtual Status Get(int property, std::int32_t* value, std::int32_t* flags) = 0;

    // Set, then the value the device holds afterwards in `held` (a device rounds a value to its
    // step or clamps it). `held` is written only on success. A device whose write hands back the
    // value it keeps answers it from there; the others read it with Get.
    virtual Status SetAndRead(int property, std::int32_t value, std::int32_t flags,
                              std::int32_t* held);

    // Why a property the device has cannot be used on this system (no access to a device node,
    // say), in words for the user; empty when it can be used or when the device lacks it.
    virtual QString UnavailableReason(int property) const;
};

}  // namespace zv::devices
