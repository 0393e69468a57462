#include "platform/media/still_trigger_control.h"

#include "platform/media/media_status.h"

namespace zv::media {

bool StillTriggerControl::Owns(const Pin& pin) const {
    return &pin == m_capturePin || (m_stillPin != nullptr && &pin == m_stillPin);
}

Status StillTriggerControl::GetCaps(const Pin& pin, std::int32_t* flags) const {
    if (flags == nullptr) {
        return kPointer;
    }
    if (!Owns(pin)) {
        return kInvalidArg;
    }
    *flags = &pin == m_stillPin ? kVideoControlFlagTrigger : 0;
    return kOk;
}

Status StillTriggerControl::SetMode(const Pin& pin, std::int32_t mode) {
    std::int32_t caps = 0;
    if (const Status status = GetCaps(pin, &caps); Failed(status)) {
        return status;
    }
    if ((mode & ~caps) != 0) {
        return kInvalidArg;
    }
    if (!IsRunningForTrigger()) {
        return kNotRunning;
    }
    if ((mode & kVideoControlFlagTrigger) != 0) {
        OnStillTrigger();
    }
    m_stillMode = mode & ~kVideoControlFlagTrigger;
    return kOk;
}

Status StillTriggerControl::GetMode(const Pin& pin, std::int32_t* mode) const {
    if (mode == nullptr) {
        return kPointer;
    }
    if (!Owns(pin)) {
        return kInvalidArg;
    }
    *mode = &pin == m_stillPin ? m_stillMode : 0;
    return kOk;
}

}  // namespace zv::media
