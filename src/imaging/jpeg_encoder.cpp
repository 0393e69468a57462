#include "imaging/jpeg_encoder.h"

#include <limits>
#include <memory>
#include <turbojpeg.h>

namespace zv {

namespace {

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

constexpr int kPixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;

}  // namespace

Status JpegEncoder::Encode(const QImage& image, QByteArray* jpeg) {
    jpeg->clear();
    if (image.isNull() || image.format() != QImage::Format_RGB32) {
        return kInvalidArg;
    }
    // The worst case for these dimensions, so the encoder never has to grow the buffer; the pages
    // it does not reach are never touched.
    const unsigned long capacity = tjBufSize(image.width(), image.height(), TJSAMP_444);
    if (capacity == static_cast<unsigned long>(-1) ||
        capacity > static_cast<unsigned long>(std::numeric_limits<qsizetype>::max())) {
        return kOutOfMemory;
    }
    QByteArray bytes(static_cast<qsizetype>(capacity), Qt::Uninitialized);
    if (bytes.size() != static_cast<qsizetype>(capacity)) {
        return kOutOfMemory;
    }
    Handle handle(tjInitCompress());
    if (!handle) {
        return kOutOfMemory;
    }
    auto* out = reinterpret_cast<unsigned char*>(bytes.data());
    unsigned long size = capacity;
    if (tjCompress2(handle.get(), image.constBits(), image.width(),
                    static_cast<int>(image.bytesPerLine()), image.height(), kPixelFormat, &out,
                    &size, TJSAMP_444, kQuality, TJFLAG_NOREALLOC) != 0) {
        return kFail;
    }
    bytes.truncate(static_cast<qsizetype>(size));
    *jpeg = std::move(bytes);
    return kOk;
}

}  // namespace zv
