#include "platform/v4l2/v4l2_format.h"

#include <linux/videodev2.h>

namespace zv::v4l2 {

int V4l2Format::IntervalMs(int fallback) const {
    if (intervalNumerator == 0 || intervalDenominator == 0) {
        return fallback;
    }
    const std::uint64_t ms =
        (std::uint64_t{intervalNumerator} * 1000 + intervalDenominator - 1) / intervalDenominator;
    return ms > 60000 ? 60000 : static_cast<int>(ms);
}

bool V4l2Format::IsMjpeg() const {
    return pixelFormat == V4L2_PIX_FMT_MJPEG || pixelFormat == V4L2_PIX_FMT_JPEG;
}

}  // namespace zv::v4l2
