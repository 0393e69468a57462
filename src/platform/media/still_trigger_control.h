#pragma once

#include "platform/media/video_control.h"

namespace zv::media {

class Pin;

// The video control of a scanner's source filter: the still pin supports the trigger flag, the
// capture pin nothing. Setting the trigger on a running still pin asks the filter for a still
// (OnStillTrigger); the trigger is an event, not a lasting mode, so it is never read back.
// GUI thread.
class StillTriggerControl : public VideoControl {
public:
    Status GetCaps(const Pin& pin, std::int32_t* flags) const final;
    Status SetMode(const Pin& pin, std::int32_t mode) final;
    Status GetMode(const Pin& pin, std::int32_t* mode) const final;

protected:
    // The filter's two pins, once it has made them (the still pin may be null).
    void BindTriggerPins(const Pin* capture, const Pin* still) {
        m_capturePin = capture;
        m_stillPin = still;
    }
    void ResetStillMode() { m_stillMode = 0; }
    virtual bool IsRunningForTrigger() const = 0;
    virtual void OnStillTrigger() = 0;

private:
    bool Owns(const Pin& pin) const;

    const Pin* m_capturePin = nullptr;
    const Pin* m_stillPin = nullptr;
    std::int32_t m_stillMode = 0;
};

}  // namespace zv::media
