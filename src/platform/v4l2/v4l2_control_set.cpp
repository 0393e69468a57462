#include "platform/v4l2/v4l2_control_set.h"

#include "platform/devices/camera_control.h"
#include "platform/devices/property_control.h"
#include "platform/devices/video_proc_amp.h"
#include "platform/v4l2/v4l2_io.h"
#include "platform/v4l2/v4l2_status.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <linux/videodev2.h>
#include <string>

namespace zv::v4l2 {

namespace {

// Bounds the walk over the camera-class controls.
constexpr int kMaxControlsWalked = 256;

std::int32_t Clamp32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// Integer division rounding to the nearest (halves away from zero), down and up.
std::int64_t DivideNearest(std::int64_t value, std::int64_t divisor) {
    const std::int64_t half = divisor / 2;
    return value >= 0 ? (value + half) / divisor : -((-value + half) / divisor);
}

std::int64_t DivideDown(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

std::int64_t DivideUp(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return quotient * divisor < value ? quotient + 1 : quotient;
}

bool IsValueType(std::uint32_t type) {
    return type == V4L2_CTRL_TYPE_INTEGER || type == V4L2_CTRL_TYPE_BOOLEAN ||
           type == V4L2_CTRL_TYPE_MENU || type == V4L2_CTRL_TYPE_INTEGER_MENU;
}

}  // namespace

V4l2ControlSet::V4l2ControlSet(V4l2Io& io, int fd, PropertyInterface which)
    : m_io(io), m_fd(fd), m_which(which) {}

std::optional<ControlMapping> V4l2ControlSet::FixedMapping(PropertyInterface which, int property) {
    if (which == PropertyInterface::kVideoProcAmp) {
        switch (property) {
            case devices::kVideoProcAmpBrightness:
                return ControlMapping{V4L2_CID_BRIGHTNESS, 0};
            case devices::kVideoProcAmpContrast:
                return ControlMapping{V4L2_CID_CONTRAST, 0};
            case devices::kVideoProcAmpHue:
                return ControlMapping{V4L2_CID_HUE, V4L2_CID_HUE_AUTO};
            case devices::kVideoProcAmpSaturation:
                return ControlMapping{V4L2_CID_SATURATION, 0};
            case devices::kVideoProcAmpSharpness:
                return ControlMapping{V4L2_CID_SHARPNESS, 0};
            case devices::kVideoProcAmpGamma:
                return ControlMapping{V4L2_CID_GAMMA, 0};
            case devices::kVideoProcAmpWhiteBalance:
                return ControlMapping{V4L2_CID_WHITE_BALANCE_TEMPERATURE,
                                      V4L2_CID_AUTO_WHITE_BALANCE};
            case devices::kVideoProcAmpBacklightCompensation:
                return ControlMapping{V4L2_CID_BACKLIGHT_COMPENSATION, 0};
            case devices::kVideoProcAmpGain:
                return ControlMapping{V4L2_CID_GAIN, V4L2_CID_AUTOGAIN};
            default:
                return std::nullopt;
        }
    }
    switch (property) {
        case devices::kCameraControlPan:
            return ControlMapping{V4L2_CID_PAN_ABSOLUTE, 0, kArcSecondsPerDegree};
        case devices::kCameraControlTilt:
            return ControlMapping{V4L2_CID_TILT_ABSOLUTE, 0, kArcSecondsPerDegree};
        case devices::kCameraControlZoom:
            return ControlMapping{V4L2_CID_ZOOM_ABSOLUTE, 0};
        case devices::kCameraControlIris:
            return ControlMapping{V4L2_CID_IRIS_ABSOLUTE, 0};
        case devices::kCameraControlFocus:
            return ControlMapping{V4L2_CID_FOCUS_ABSOLUTE, V4L2_CID_FOCUS_AUTO};
        default:
            // Exposure is left out: the driver's unit (100 us) is not the property's (log2 s).
            return std::nullopt;
    }
}

bool V4l2ControlSet::IsRollControlName(std::string_view name) {
    const std::string lower = Lower(name);
    return lower.rfind("roll", 0) == 0 && lower.find("relative") == std::string::npos &&
           lower.find("speed") == std::string::npos;
}

std::optional<std::uint32_t> V4l2ControlSet::FindRollControl() {
    std::uint32_t id = V4L2_CTRL_CLASS_CAMERA;
    for (int walked = 0; walked < kMaxControlsWalked; ++walked) {
        v4l2_query_ext_ctrl query{};
        query.id = id | V4L2_CTRL_FLAG_NEXT_CTRL;
        if (m_io.Ioctl(m_fd, VIDIOC_QUERY_EXT_CTRL, &query) != 0 ||
            V4L2_CTRL_ID2CLASS(query.id) != V4L2_CTRL_CLASS_CAMERA || query.id <= id) {
            return std::nullopt;
        }
        id = query.id;
        const std::string_view name(query.name, strnlen(query.name, sizeof query.name));
        if (query.type == V4L2_CTRL_TYPE_INTEGER && IsRollControlName(name)) {
            return query.id;
        }
    }
    return std::nullopt;
}

bool V4l2ControlSet::HasRollControl() {
    if (!m_rollLookedUp) {
        m_rollControl = FindRollControl();
        m_rollLookedUp = true;
    }
    return m_rollControl.has_value();
}

std::optional<ControlMapping> V4l2ControlSet::Mapping(int property) {
    if (m_which == PropertyInterface::kCameraControl && property == devices::kCameraControlRoll) {
        if (!HasRollControl()) {
            return std::nullopt;
        }
        return ControlMapping{*m_rollControl, 0};
    }
    return FixedMapping(m_which, property);
}

Status V4l2ControlSet::Find(int property, Control* control) {
    const std::optional<ControlMapping> mapping = Mapping(property);
    if (!mapping.has_value()) {
        return kNotFound;
    }
    v4l2_query_ext_ctrl query{};
    query.id = mapping->control;
    if (const int error = m_io.Ioctl(m_fd, VIDIOC_QUERY_EXT_CTRL, &query); error != 0) {
        return ControlStatus(error, true);
    }
    if ((query.flags & V4L2_CTRL_FLAG_DISABLED) != 0 || !IsValueType(query.type) ||
        query.id != mapping->control) {
        return kNotFound;
    }
    control->id = mapping->control;
    control->minimum = query.minimum;
    control->maximum = query.maximum;
    control->step = static_cast<std::int64_t>(query.step);
    control->defaultValue = query.default_value;
    control->hasAuto = false;
    control->autoId = mapping->autoControl;
    control->unitsPerStep = mapping->unitsPerStep;
    if (mapping->autoControl != 0) {
        v4l2_query_ext_ctrl autoQuery{};
        autoQuery.id = mapping->autoControl;
        control->hasAuto = m_io.Ioctl(m_fd, VIDIOC_QUERY_EXT_CTRL, &autoQuery) == 0 &&
                           autoQuery.id == mapping->autoControl &&
                           (autoQuery.flags & V4L2_CTRL_FLAG_DISABLED) == 0;
    }
    return kOk;
}

Status V4l2ControlSet::ReadValue(std::uint32_t id, std::int32_t* value) {
    v4l2_control control{};
    control.id = id;
    if (const int error = m_io.Ioctl(m_fd, VIDIOC_G_CTRL, &control); error != 0) {
        return ControlStatus(error, true);
    }
    *value = control.value;
    return kOk;
}

Status V4l2ControlSet::WriteValue(std::uint32_t id, std::int64_t value, std::int32_t* held) {
    v4l2_control control{};
    control.id = id;
    control.value = Clamp32(value);
    if (const int error = m_io.Ioctl(m_fd, VIDIOC_S_CTRL, &control); error != 0) {
        return ControlStatus(error, false);
    }
    if (held != nullptr) {
        *held = control.value;
    }
    return kOk;
}

Status V4l2ControlSet::GetRange(int property, std::int32_t* minimum, std::int32_t* maximum,
                                std::int32_t* steppingDelta, std::int32_t* defaultValue,
                                std::int32_t* capsFlags) {
    if (minimum == nullptr || maximum == nullptr || steppingDelta == nullptr ||
        defaultValue == nullptr || capsFlags == nullptr) {
        return kPointer;
    }
    Control control;
    if (const Status status = Find(property, &control); Failed(status)) {
        return status;
    }
    const std::int64_t units = control.unitsPerStep;
    *minimum = Clamp32(DivideUp(control.minimum, units));
    *maximum = Clamp32(DivideDown(control.maximum, units));
    *steppingDelta = Clamp32(
        units == 1 ? control.step : std::max<std::int64_t>(1, DivideNearest(control.step, units)));
    *defaultValue = Clamp32(DivideNearest(control.defaultValue, units));
    *capsFlags =
        devices::kPropertyFlagsManual | (control.hasAuto ? devices::kPropertyFlagsAuto : 0);
    return kOk;
}

Status V4l2ControlSet::Get(int property, std::int32_t* value, std::int32_t* flags) {
    if (value == nullptr || flags == nullptr) {
        return kPointer;
    }
    Control control;
    if (const Status status = Find(property, &control); Failed(status)) {
        return status;
    }
    std::int32_t current = 0;
    if (const Status status = ReadValue(control.id, &current); Failed(status)) {
        return status;
    }
    std::int32_t automatic = 0;
    if (control.hasAuto && Failed(ReadValue(control.autoId, &automatic))) {
        automatic = 0;
    }
    *value = Clamp32(DivideNearest(current, control.unitsPerStep));
    *flags = automatic != 0 ? devices::kPropertyFlagsAuto : devices::kPropertyFlagsManual;
    return kOk;
}

Status V4l2ControlSet::Set(int property, std::int32_t value, std::int32_t flags) {
    std::int32_t held = 0;
    return SetAndRead(property, value, flags, &held);
}

Status V4l2ControlSet::SetAndRead(int property, std::int32_t value, std::int32_t flags,
                                  std::int32_t* held) {
    if (held == nullptr) {
        return kPointer;
    }
    Control control;
    if (const Status status = Find(property, &control); Failed(status)) {
        return status;
    }
    const std::int32_t offered =
        devices::kPropertyFlagsManual | (control.hasAuto ? devices::kPropertyFlagsAuto : 0);
    const bool both =
        (flags & devices::kPropertyFlagsAuto) != 0 && (flags & devices::kPropertyFlagsManual) != 0;
    if ((flags & ~offered) != 0 || both) {
        return kInvalidArg;
    }
    if ((flags & devices::kPropertyFlagsAuto) != 0) {
        if (const Status status = WriteValue(control.autoId, 1, nullptr); Failed(status)) {
            return status;
        }
        // The device sets the value now; it is whatever it holds (the value written when the
        // read-back fails).
        std::int32_t current = value;
        IgnoreStatus(ReadValue(control.id, &current));
        *held = Clamp32(DivideNearest(current, control.unitsPerStep));
        return kOk;
    }
    const std::int64_t units = control.unitsPerStep;
    if (value < DivideUp(control.minimum, units) || value > DivideDown(control.maximum, units)) {
        return kInvalidArg;
    }
    if (control.hasAuto) {
        std::int32_t automatic = 0;
        if (Succeeded(ReadValue(control.autoId, &automatic)) && automatic != 0) {
            if (const Status status = WriteValue(control.autoId, 0, nullptr); Failed(status)) {
                return status;
            }
        }
    }
    std::int32_t kept = 0;
    if (const Status status = WriteValue(control.id, value * units, &kept); Failed(status)) {
        return status;
    }
    *held = Clamp32(DivideNearest(kept, units));
    return kOk;
}

}  // namespace zv::v4l2
