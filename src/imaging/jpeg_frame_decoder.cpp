#include "imaging/jpeg_frame_decoder.h"

#include "imaging/imaging_status.h"

#include <memory>
#include <turbojpeg.h>

namespace zv {

namespace {

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

static_assert(sizeof(unsigned long) >= sizeof(std::size_t),
              "TurboJPEG takes lengths as unsigned long");

// Qt's RGB32 is 0xffRRGGBB in native order: B G R X bytes on little-endian machines.
constexpr int kPixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;

// Any warning ends the decode: a premature end of data or corrupt entropy data is a broken frame.
// A progressive image with an absurd number of scans is refused rather than decoded for minutes.
constexpr int kDecodeFlags = TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;

}  // namespace

Status JpegFrameDecoder::Decode(const std::uint8_t* data, std::size_t length, QImage* image) {
    *image = QImage();
    if (data == nullptr || length == 0) {
        return kBadImage;
    }
    Handle handle(tjInitDecompress());
    if (!handle) {
        return kOutOfMemory;
    }
    const auto size = static_cast<unsigned long>(length);
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colorspace = 0;
    if (tjDecompressHeader3(handle.get(), data, size, &width, &height, &subsampling, &colorspace) !=
            0 ||
        width <= 0 || height <= 0 || std::int64_t{width} * height > kMaxPixels) {
        return kBadImage;
    }
    QImage decoded(width, height, QImage::Format_RGB32);
    if (decoded.isNull()) {
        return kOutOfMemory;
    }
    // TurboJPEG returns -1 for warnings as well as errors; both leave no usable picture.
    if (tjDecompress2(handle.get(), data, size, decoded.bits(), width,
                      static_cast<int>(decoded.bytesPerLine()), height, kPixelFormat,
                      kDecodeFlags) != 0) {
        return kBadImage;
    }
    *image = std::move(decoded);
    return kOk;
}

}  // namespace zv
