#pragma once

#include "platform/status.h"
#include "platform/v4l2/uvc_descriptors.h"
#include "platform/v4l2/v4l2_format.h"

#include <vector>

// What a node offers, as media types: the capture pin's formats from the driver's format, frame
// size and frame interval lists, and the still pin's formats from them and the device's still
// image descriptors. Plain functions; the GUI thread calls them while binding a filter.
namespace zv::v4l2 {

class V4l2Io;

// The node's MJPEG (and JPEG) and YUYV formats in the driver's order: format by format, size by
// size, each with its shortest frame interval, as VideoInfo types (MJPG or YUY2). Formats of
// other pixel formats are left out, and so is a repeat of a subtype and size already listed. A
// failure other than the end of a list is returned, with the formats found so far kept.
Status EnumerateCaptureFormats(V4l2Io& io, int fd, std::vector<V4l2Format>* formats);

// The still pin's formats: the MJPEG capture formats whose size the device declares as a still
// image size, in capture order; all MJPEG capture formats when it declares none of them (the
// stream can only be switched to a size it streams, so every still format must be one of them).
std::vector<V4l2Format> SelectStillFormats(const std::vector<V4l2Format>& capture,
                                           const std::vector<UvcFrameSize>& stillSizes);

// The VideoInfo type for a format.
media::MediaType MakeFormatType(std::uint32_t pixelFormat, std::uint32_t width,
                                std::uint32_t height, std::uint32_t intervalNumerator,
                                std::uint32_t intervalDenominator);

}  // namespace zv::v4l2
