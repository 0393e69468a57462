#pragma once

#include "platform/devices/video_proc_amp.h"
#include "platform/v4l2/v4l2_control_set.h"

namespace zv::v4l2 {

// The processing unit's picture properties of a real device, as V4L2 controls. GUI thread.
class V4l2VideoProcAmp : public devices::VideoProcAmp {
public:
    V4l2VideoProcAmp(V4l2Io& io, int fd) : m_controls(io, fd, PropertyInterface::kVideoProcAmp) {}

    Status GetRange(int property, std::int32_t* minimum, std::int32_t* maximum,
                    std::int32_t* steppingDelta, std::int32_t* defaultValue,
                    std::int32_t* capsFlags) override {
        return m_controls.GetRange(property, minimum, maximum, steppingDelta, defaultValue,
                                   capsFlags);
    }
    Status Set(int property, std::int32_t value, std::int32_t flags) override {
        return m_controls.Set(property, value, flags);
    }
    Status Get(int property, std::int32_t* value, std::int32_t* flags) override {
        return m_controls.Get(property, value, flags);
    }

private:
    V4l2ControlSet m_controls;
};

}  // namespace zv::v4l2
