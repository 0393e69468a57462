#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zv::v4l2 {

// Where a device stream's frames go: the filter's capture pin (preview frames, borrowed for the
// call) and its still pin (a still, handed over). Called on the streaming thread.
class V4l2FrameSink {
public:
    virtual ~V4l2FrameSink() = default;

    virtual void OnPreviewFrame(const std::uint8_t* data, std::size_t length, double time) = 0;
    virtual void OnStillFrame(std::vector<std::uint8_t> bytes, double time) = 0;
};

}  // namespace zv::v4l2
