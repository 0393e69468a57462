#include "platform/media/jpeg_codec.h"

#include <memory>
#include <turbojpeg.h>

namespace zv::media {

namespace {

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

// Qt's RGB32 is 0xffRRGGBB in native order: B G R X bytes on little-endian machines.
constexpr int kPixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;

int SubsamplingOf(ChromaSubsampling subsampling) {
    switch (subsampling) {
        case ChromaSubsampling::k444:
            return TJSAMP_444;
        case ChromaSubsampling::k422:
            return TJSAMP_422;
        case ChromaSubsampling::k420:
            return TJSAMP_420;
    }
    return TJSAMP_420;
}

}  // namespace

QSize JpegCodec::ScaledSize(QSize full, QSize atLeast) {
    if (atLeast.isEmpty() || full.isEmpty()) {
        return full;
    }
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    QSize best = full;
    for (int i = 0; i < count; ++i) {
        const tjscalingfactor factor = factors[i];
        if (factor.num > factor.denom) {
            continue;  // never enlarge
        }
        const QSize scaled(TJSCALED(full.width(), factor), TJSCALED(full.height(), factor));
        if (scaled.width() >= atLeast.width() && scaled.height() >= atLeast.height() &&
            scaled.width() < best.width()) {
            best = scaled;
        }
    }
    return best;
}

QSize JpegCodec::ReadSize(const std::uint8_t* data, std::size_t length) {
    Handle handle(tjInitDecompress());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colorspace = 0;
    if (!handle || data == nullptr ||
        tjDecompressHeader3(handle.get(), data, static_cast<unsigned long>(length), &width, &height,
                            &subsampling, &colorspace) != 0) {
        return {};
    }
    return QSize(width, height);
}

QImage JpegCodec::Decode(const std::uint8_t* data, std::size_t length, QSize atLeast) {
    const QSize full = ReadSize(data, length);
    if (full.isEmpty()) {
        return {};
    }
    const QSize size = ScaledSize(full, atLeast);
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    Handle handle(tjInitDecompress());
    // Stop on warnings: a premature end of data is a broken frame, not a picture.
    if (tjDecompress2(handle.get(), data, static_cast<unsigned long>(length), image.bits(),
                      size.width(), static_cast<int>(image.bytesPerLine()), size.height(),
                      kPixelFormat, TJFLAG_STOPONWARNING) != 0) {
        return {};
    }
    return image;
}

QByteArray JpegCodec::Encode(const QImage& source, int quality, ChromaSubsampling subsampling) {
    const QImage image =
        source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
            ? source
            : source.convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    Handle handle(tjInitCompress());
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    const int result = tjCompress2(
        handle.get(), image.constBits(), image.width(), static_cast<int>(image.bytesPerLine()),
        image.height(), kPixelFormat, &out, &outSize, SubsamplingOf(subsampling), quality, 0);
    QByteArray bytes;
    if (result == 0) {
        bytes = QByteArray(reinterpret_cast<const char*>(out), static_cast<qsizetype>(outSize));
    }
    tjFree(out);
    return bytes;
}

}  // namespace zv::media
