#pragma once

#include "platform/v4l2/v4l2_format.h"

#include <cstddef>
#include <cstdint>

namespace zv::v4l2 {

// How many of a dequeued buffer's `bytesUsed` bytes make one complete frame of `format`; 0 when
// the frame is not complete and must be dropped. An MJPEG frame must start with the start-of-image
// marker and end with the end-of-image marker (zero padding after it is cut off), so that every
// sample delivered is a whole JPEG image; a YUYV frame must hold width x height x 2 bytes.
// Any thread.
std::size_t CompleteFrameLength(const V4l2Format& format, const std::uint8_t* data,
                                std::size_t bytesUsed);

}  // namespace zv::v4l2
