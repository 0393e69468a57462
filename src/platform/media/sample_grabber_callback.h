#pragma once

#include "platform/status.h"

#include <cstdint>

namespace zv::media {

class MediaSample;

// What a SampleGrabber calls for each sample, on the streaming thread that delivers it. Mode 0
// calls SampleCB, mode 1 BufferCB (SampleGrabber::SetCallback). The bytes are valid only during
// the call. Results are not looked at. An implementation must never wait for the GUI thread:
// stopping the graph there waits for the callback to return.
class SampleGrabberCallback {
public:
    virtual ~SampleGrabberCallback() = default;

    virtual Status SampleCB(double sampleTime, const MediaSample& sample) = 0;
    virtual Status BufferCB(double sampleTime, const std::uint8_t* buffer, std::int32_t length) = 0;
};

}  // namespace zv::media
