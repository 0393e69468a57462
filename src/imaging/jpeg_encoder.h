#pragma once

#include "platform/status.h"

#include <QByteArray>
#include <QImage>

namespace zv {

// Encodes an output picture as a baseline JPEG at quality 100 with full-resolution chroma (4:4:4),
// the highest quality the format offers, on TurboJPEG. Stateless; any thread may call.
class JpegEncoder {
public:
    static constexpr int kQuality = 100;

    // `image` is Format_RGB32. kOk and the file's bytes in `jpeg`; kOutOfMemory when the output
    // buffer cannot be had; kFail when the encoder refuses.
    static Status Encode(const QImage& image, QByteArray* jpeg);
};

}  // namespace zv
