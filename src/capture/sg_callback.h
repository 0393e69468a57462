#pragma once

#include "capture/still_handlers.h"
#include "platform/media/sample_grabber_callback.h"

namespace zv {

// The still grabber's callback: forwards each still frame's bytes to the sink. Set on the GUI
// thread before the graph runs and never changed while it does, so the streaming thread reads
// it without a lock. Owned by the capture controller, which stops the graph before it goes.
class CSGCallback final : public media::SampleGrabberCallback {
public:
    void SetSink(StillFrameSink sink) { m_sink = std::move(sink); }
    bool HasSink() const { return static_cast<bool>(m_sink); }

    // The grabber runs in buffer mode, so samples are not forwarded. Always kOk.
    Status SampleCB(double sampleTime, const media::MediaSample& sample) override;
    // The bytes go to the sink. Always kOk, whatever the sink answered, so that the grabber
    // goes on delivering.
    Status BufferCB(double sampleTime, const std::uint8_t* buffer, std::int32_t length) override;

private:
    StillFrameSink m_sink;
};

}  // namespace zv
