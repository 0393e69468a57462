#pragma once

#include "platform/devices/camera_control.h"
#include "platform/v4l2/v4l2_control_set.h"

namespace zv::v4l2 {

class UsbRollControl;

// The camera terminal's properties of a capture node: the camera-class controls, and roll (the
// film type) through the USB device where the running kernel has no control for it. The control
// lookup comes first, so a kernel that maps roll is used as it is. GUI thread.
class V4l2CameraControl final : public devices::CameraControl {
public:
    // `roll` may be null (no roll beyond the kernel's controls); it outlives this object.
    V4l2CameraControl(V4l2Io& io, int fd, UsbRollControl* roll);

    Status GetRange(int property, std::int32_t* minimum, std::int32_t* maximum,
                    std::int32_t* steppingDelta, std::int32_t* defaultValue,
                    std::int32_t* capsFlags) override;
    Status Set(int property, std::int32_t value, std::int32_t flags) override;
    Status Get(int property, std::int32_t* value, std::int32_t* flags) override;
    Status SetAndRead(int property, std::int32_t value, std::int32_t flags,
                      std::int32_t* held) override;
    QString UnavailableReason(int property) const override;

private:
    // Whether `property` goes to the USB device rather than a control.
    bool ThroughUsb(int property);

    V4l2ControlSet m_controls;
    UsbRollControl* const m_roll;
};

}  // namespace zv::v4l2
