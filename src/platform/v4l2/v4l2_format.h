#pragma once

#include "platform/media/media_type.h"

#include <cstdint>

namespace zv::v4l2 {

// One format a node can stream: the V4L2 pixel format, frame size and frame interval, and the
// media type (VideoInfo) under which a pin offers it. A plain value, any thread.
struct V4l2Format {
    std::uint32_t pixelFormat = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Seconds per frame as a fraction; 0/0 when the driver named none.
    std::uint32_t intervalNumerator = 0;
    std::uint32_t intervalDenominator = 0;
    media::MediaType type;

    // The frame interval in milliseconds, or `fallback` when unknown.
    int IntervalMs(int fallback) const;
    bool IsMjpeg() const;
};

}  // namespace zv::v4l2
