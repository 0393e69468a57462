#pragma once

#include "platform/media/filter.h"

#include <mutex>

namespace zv::media {

class SampleGrabberCallback;

// Passes every sample from its input pin to its output pin and shows each to a callback on the
// way: no media type restriction (it accepts whatever its upstream pin offers), no buffering of
// samples, not one-shot (every sample is shown and passed on). GUI thread for SetCallback;
// Receive on the streaming thread.
class SampleGrabber : public Filter {
public:
    static constexpr int kModeSampleCB = 0;
    static constexpr int kModeBufferCB = 1;

    SampleGrabber();

    // `callback` is not owned and must outlive the grabber's streaming (stop the graph before it
    // goes); null removes it. Mode 0: SampleCB, mode 1: BufferCB; other modes kInvalidArg.
    // Returns after any call in progress has finished.
    Status SetCallback(SampleGrabberCallback* callback, int mode);

    Status CheckInputType(const Pin& input, const MediaType& type) const override;
    Status GetOutputType(const Pin& output, MediaType* type) const override;
    Status Receive(Pin& input, const MediaSample& sample) override;

private:
    Pin& m_input;
    Pin& m_output;
    // Protects m_callback and m_mode; held across the callback so that SetCallback returns only
    // when no call into the old callback is running.
    std::mutex m_callbackMutex;
    SampleGrabberCallback* m_callback = nullptr;
    int m_mode = kModeSampleCB;
};

}  // namespace zv::media
