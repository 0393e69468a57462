#include "platform/v4l2/v4l2_frame_check.h"

namespace zv::v4l2 {

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;

std::size_t CompleteJpegLength(const std::uint8_t* data, std::size_t bytesUsed) {
    if (bytesUsed < 4 || data[0] != kMarker || data[1] != kStartOfImage) {
        return 0;
    }
    std::size_t end = bytesUsed;
    while (end > 2 && data[end - 1] == 0x00) {
        --end;
    }
    if (end < 4 || data[end - 2] != kMarker || data[end - 1] != kEndOfImage) {
        return 0;
    }
    return end;
}

}  // namespace

std::size_t CompleteFrameLength(const V4l2Format& format, const std::uint8_t* data,
                                std::size_t bytesUsed) {
    if (data == nullptr || bytesUsed == 0) {
        return 0;
    }
    if (format.IsMjpeg()) {
        return CompleteJpegLength(data, bytesUsed);
    }
    const std::size_t frameSize = std::size_t{format.width} * format.height * 2;
    return bytesUsed >= frameSize ? frameSize : 0;
}

}  // namespace zv::v4l2
