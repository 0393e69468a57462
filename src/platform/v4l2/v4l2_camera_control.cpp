#include "platform/v4l2/v4l2_camera_control.h"

#include "platform/v4l2/usb_roll_control.h"

namespace zv::v4l2 {

V4l2CameraControl::V4l2CameraControl(V4l2Io& io, int fd, UsbRollControl* roll)
    : m_controls(io, fd, PropertyInterface::kCameraControl), m_roll(roll) {}

bool V4l2CameraControl::ThroughUsb(int property) {
    return property == devices::kCameraControlRoll && m_roll != nullptr && m_roll->Offered() &&
           !m_controls.HasRollControl();
}

Status V4l2CameraControl::GetRange(int property, std::int32_t* minimum, std::int32_t* maximum,
                                   std::int32_t* steppingDelta, std::int32_t* defaultValue,
                                   std::int32_t* capsFlags) {
    if (ThroughUsb(property)) {
        return m_roll->GetRange(minimum, maximum, steppingDelta, defaultValue, capsFlags);
    }
    return m_controls.GetRange(property, minimum, maximum, steppingDelta, defaultValue, capsFlags);
}

Status V4l2CameraControl::Set(int property, std::int32_t value, std::int32_t flags) {
    std::int32_t held = 0;
    return SetAndRead(property, value, flags, &held);
}

Status V4l2CameraControl::Get(int property, std::int32_t* value, std::int32_t* flags) {
    if (ThroughUsb(property)) {
        return m_roll->Get(value, flags);
    }
    return m_controls.Get(property, value, flags);
}

Status V4l2CameraControl::SetAndRead(int property, std::int32_t value, std::int32_t flags,
                                     std::int32_t* held) {
    if (ThroughUsb(property)) {
        return m_roll->SetAndRead(value, flags, held);
    }
    return m_controls.SetAndRead(property, value, flags, held);
}

QString V4l2CameraControl::UnavailableReason(int property) const {
    const bool roll = property == devices::kCameraControlRoll && m_roll != nullptr;
    return roll ? m_roll->UnavailableReason() : QString();
}

}  // namespace zv::v4l2
