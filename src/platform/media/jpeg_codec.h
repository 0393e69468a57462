#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <cstddef>
#include <cstdint>

namespace zv::media {

enum class ChromaSubsampling { k444, k422, k420 };

// JPEG decoding and encoding on TurboJPEG. Stateless: each call uses a handle of its own, so any
// thread may call at any time.
class JpegCodec {
public:
    // Decodes a whole JPEG image into Format_RGB32. With a non-empty `atLeast`, decodes at the
    // smallest DCT scale (1/8 .. 1) that still covers `atLeast` in both directions, so a small
    // window costs a fraction of a full decode. A null image for anything that is not a whole,
    // clean JPEG image (a truncated image is refused, not shown half grey).
    static QImage Decode(const std::uint8_t* data, std::size_t length, QSize atLeast = {});

    // The size a decode with `atLeast` produces for a `full`-sized image.
    static QSize ScaledSize(QSize full, QSize atLeast);

    // Reads width and height from the JPEG header; an empty size when it cannot.
    static QSize ReadSize(const std::uint8_t* data, std::size_t length);

    // Encodes a Format_RGB32 (or ARGB32) image; an empty array on failure.
    static QByteArray Encode(const QImage& image, int quality, ChromaSubsampling subsampling);
};

}  // namespace zv::media
