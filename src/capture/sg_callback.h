#pragma once

#include "capture/still_handlers.h"
#include "platform/media/sample_grabber_callback.h"

namespace zv {

// The still grabber's callback: forwards each still sample to the handler of the configured
// mode. Configured on the GUI thread before the graph runs and never changed while it does, so
// the streaming thread reads it without a lock. Owned by the capture controller, which stops
// the graph before it goes.
class CSGCallback final : public media::SampleGrabberCallback {
public:
    void Configure(const CallbackRecord& record) { m_record = record; }
    const CallbackRecord& Record() const { return m_record; }

    // Mode 0 only: the sample goes to the sample handler. Always kOk.
    Status SampleCB(double sampleTime, const media::MediaSample& sample) override;
    // Mode 1 only: the bytes go to the buffer handler. Always kOk, whatever the handler
    // answered, so that the grabber goes on delivering.
    Status BufferCB(double sampleTime, const std::uint8_t* buffer, std::int32_t length) override;

private:
    CallbackRecord m_record;
};

}  // namespace zv
