#include "platform/v4l2/v4l2_format_enumeration.h"

#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"
#include "platform/v4l2/v4l2_io.h"
#include "platform/v4l2/v4l2_status.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <linux/videodev2.h>

namespace zv::v4l2 {

namespace {

// Bounds every driver list, so a driver that never answers EINVAL cannot keep us here.
constexpr std::uint32_t kMaxListEntries = 256;

bool IsMjpegPixelFormat(std::uint32_t pixelFormat) {
    return pixelFormat == V4L2_PIX_FMT_MJPEG || pixelFormat == V4L2_PIX_FMT_JPEG;
}

bool IsOffered(std::uint32_t pixelFormat) {
    return IsMjpegPixelFormat(pixelFormat) || pixelFormat == V4L2_PIX_FMT_YUYV;
}

struct Fraction {
    std::uint32_t numerator = 0;
    std::uint32_t denominator = 0;
};

// a < b for positive fractions.
bool Shorter(const Fraction& a, const Fraction& b) {
    return std::uint64_t{a.numerator} * b.denominator < std::uint64_t{b.numerator} * a.denominator;
}

// The shortest interval the driver lists for the size; 0/0 when it lists none.
Fraction ShortestInterval(V4l2Io& io, int fd, std::uint32_t pixelFormat, std::uint32_t width,
                          std::uint32_t height) {
    Fraction best;
    for (std::uint32_t index = 0; index < kMaxListEntries; ++index) {
        v4l2_frmivalenum interval{};
        interval.index = index;
        interval.pixel_format = pixelFormat;
        interval.width = width;
        interval.height = height;
        if (io.Ioctl(fd, VIDIOC_ENUM_FRAMEINTERVALS, &interval) != 0) {
            break;
        }
        Fraction candidate;
        if (interval.type == V4L2_FRMIVAL_TYPE_DISCRETE) {
            candidate = {interval.discrete.numerator, interval.discrete.denominator};
        } else {
            candidate = {interval.stepwise.min.numerator, interval.stepwise.min.denominator};
        }
        if (candidate.numerator > 0 && candidate.denominator > 0 &&
            (best.denominator == 0 || Shorter(candidate, best))) {
            best = candidate;
        }
        if (interval.type != V4L2_FRMIVAL_TYPE_DISCRETE) {
            break;
        }
    }
    return best;
}

void Add(V4l2Io& io, int fd, std::uint32_t pixelFormat, std::uint32_t width, std::uint32_t height,
         std::vector<V4l2Format>* formats) {
    if (width == 0 || height == 0 || width > std::numeric_limits<std::int32_t>::max() ||
        height > std::numeric_limits<std::int32_t>::max()) {
        return;
    }
    const bool mjpeg = IsMjpegPixelFormat(pixelFormat);
    const bool repeat = std::any_of(formats->begin(), formats->end(), [&](const V4l2Format& f) {
        return f.IsMjpeg() == mjpeg && f.width == width && f.height == height;
    });
    if (repeat) {
        return;
    }
    const Fraction interval = ShortestInterval(io, fd, pixelFormat, width, height);
    V4l2Format format;
    format.pixelFormat = pixelFormat;
    format.width = width;
    format.height = height;
    format.intervalNumerator = interval.numerator;
    format.intervalDenominator = interval.denominator;
    format.type =
        MakeFormatType(pixelFormat, width, height, interval.numerator, interval.denominator);
    formats->push_back(std::move(format));
}

// The sizes of one pixel format; the stepwise and continuous kinds contribute their largest.
Status AddSizes(V4l2Io& io, int fd, std::uint32_t pixelFormat, std::vector<V4l2Format>* formats) {
    for (std::uint32_t index = 0; index < kMaxListEntries; ++index) {
        v4l2_frmsizeenum size{};
        size.index = index;
        size.pixel_format = pixelFormat;
        const int error = io.Ioctl(fd, VIDIOC_ENUM_FRAMESIZES, &size);
        if (error == EINVAL) {
            return kOk;
        }
        if (error != 0) {
            return StreamStatus(error);
        }
        if (size.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
            Add(io, fd, pixelFormat, size.discrete.width, size.discrete.height, formats);
            continue;
        }
        Add(io, fd, pixelFormat, size.stepwise.max_width, size.stepwise.max_height, formats);
        return kOk;
    }
    return kOk;
}

}  // namespace

media::MediaType MakeFormatType(std::uint32_t pixelFormat, std::uint32_t width,
                                std::uint32_t height, std::uint32_t intervalNumerator,
                                std::uint32_t intervalDenominator) {
    const Guid& subtype =
        IsMjpegPixelFormat(pixelFormat) ? media::kSubtypeMjpg : media::kSubtypeYuy2;
    std::int64_t frameTime = media::kFrameTime15Fps;
    if (intervalNumerator > 0 && intervalDenominator > 0) {
        frameTime = static_cast<std::int64_t>(std::uint64_t{intervalNumerator} * 10000000u /
                                              intervalDenominator);
    }
    return media::MakeVideoInfoType(subtype, static_cast<std::int32_t>(width),
                                    static_cast<std::int32_t>(height), frameTime);
}

Status EnumerateCaptureFormats(V4l2Io& io, int fd, std::vector<V4l2Format>* formats) {
    for (std::uint32_t index = 0; index < kMaxListEntries; ++index) {
        v4l2_fmtdesc description{};
        description.index = index;
        description.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        const int error = io.Ioctl(fd, VIDIOC_ENUM_FMT, &description);
        if (error == EINVAL) {
            return kOk;
        }
        if (error != 0) {
            return StreamStatus(error);
        }
        if (!IsOffered(description.pixelformat)) {
            continue;
        }
        if (const Status status = AddSizes(io, fd, description.pixelformat, formats);
            Failed(status)) {
            return status;
        }
    }
    return kOk;
}

std::vector<V4l2Format> SelectStillFormats(const std::vector<V4l2Format>& capture,
                                           const std::vector<UvcFrameSize>& stillSizes) {
    std::vector<V4l2Format> declared;
    std::vector<V4l2Format> mjpeg;
    for (const V4l2Format& format : capture) {
        if (!format.IsMjpeg()) {
            continue;
        }
        mjpeg.push_back(format);
        const bool isStill =
            std::any_of(stillSizes.begin(), stillSizes.end(), [&](const UvcFrameSize& size) {
                return size.width == format.width && size.height == format.height;
            });
        if (isStill) {
            declared.push_back(format);
        }
    }
    return declared.empty() ? mjpeg : declared;
}

}  // namespace zv::v4l2
