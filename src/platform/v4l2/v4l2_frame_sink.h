#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zv::v4l2 {

// Where a device stream's frames go: the filter's capture pin (preview frames, borrowed for the
// call) and its still pin (a still, handed over); and the news that the stream ended because the
// device is gone. Called on the streaming thread.
class V4l2FrameSink {
public:
    virtual ~V4l2FrameSink() = default;

    virtual void OnPreviewFrame(const std::uint8_t* data, std::size_t length, double time) = 0;
    virtual void OnStillFrame(std::vector<std::uint8_t> bytes, double time) = 0;
    // The streaming thread is ending: the device answered that it is no longer there.
    virtual void OnDeviceGone() {}
};

}  // namespace zv::v4l2
