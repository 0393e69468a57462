#pragma once

#include "platform/status.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace zv::v4l2 {

class V4l2Io;

// Which property interface a control set stands behind.
enum class PropertyInterface { kVideoProcAmp, kCameraControl };

// The V4L2 control behind a property index, the automatic-mode control that pairs with it (0 for
// none) and how many of the control's units make one of the property's (absolute pan and tilt
// count arc-seconds in V4L2, degrees in the property: 3600).
struct ControlMapping {
    std::uint32_t control = 0;
    std::uint32_t autoControl = 0;
    std::int64_t unitsPerStep = 1;
};

// Arc-seconds in a degree: the unit of V4L2's absolute pan and tilt against the property's.
inline constexpr std::int64_t kArcSecondsPerDegree = 3600;

// The picture properties of one interface (processing unit or camera terminal) as V4L2 controls
// of an open node: brightness, contrast, saturation, gamma and their neighbours are user-class
// controls; pan, tilt and zoom the absolute camera-class controls. Roll has no control of its
// own in the driver; a camera-class control named for absolute roll is used where the running
// kernel offers one (found by walking the camera-class controls, once). A property without a
// control, or whose control the device lacks or has disabled, answers kNotFound. Ranges come from
// the control's minimum, maximum, step and default; the automatic capability only where an
// automatic-mode control pairs with the property. Pan and tilt convert between the driver's
// arc-seconds and the property's degrees in range, step, default and value (the range narrowed
// to whole degrees inside it, the rest rounded to the nearest degree). A write answers the value
// the driver keeps (it rounds to the step and clamps), as VIDIOC_S_CTRL hands it back.
// GUI thread.
class V4l2ControlSet {
public:
    V4l2ControlSet(V4l2Io& io, int fd, PropertyInterface which);

    Status GetRange(int property, std::int32_t* minimum, std::int32_t* maximum,
                    std::int32_t* steppingDelta, std::int32_t* defaultValue,
                    std::int32_t* capsFlags);
    Status Set(int property, std::int32_t value, std::int32_t flags);
    Status SetAndRead(int property, std::int32_t value, std::int32_t flags, std::int32_t* held);
    Status Get(int property, std::int32_t* value, std::int32_t* flags);

    // Whether the running kernel offers a camera-class control for absolute roll.
    bool HasRollControl();

    // The fixed part of the mapping (everything but roll); nullopt for a property without one.
    static std::optional<ControlMapping> FixedMapping(PropertyInterface which, int property);
    // Whether a camera-class control of this name is absolute roll ("Roll, Absolute", "Roll").
    static bool IsRollControlName(std::string_view name);

private:
    struct Control {
        std::int64_t minimum = 0;
        std::int64_t maximum = 0;
        std::int64_t step = 0;
        std::int64_t defaultValue = 0;
        bool hasAuto = false;
        std::uint32_t id = 0;
        std::uint32_t autoId = 0;
        std::int64_t unitsPerStep = 1;
    };

    std::optional<ControlMapping> Mapping(int property);
    // The control behind `property`, queried afresh.
    Status Find(int property, Control* control);
    std::optional<std::uint32_t> FindRollControl();
    Status ReadValue(std::uint32_t id, std::int32_t* value);
    // Writes and answers in `held` what the driver keeps.
    Status WriteValue(std::uint32_t id, std::int64_t value, std::int32_t* held);

    V4l2Io& m_io;
    const int m_fd;
    const PropertyInterface m_which;
    // The roll control, looked up on first use.
    bool m_rollLookedUp = false;
    std::optional<std::uint32_t> m_rollControl;
};

}  // namespace zv::v4l2
