#pragma once

#include "platform/status.h"

#include <QImage>

#include <cstddef>
#include <cstdint>

namespace zv {

// Decodes one still frame (a whole JPEG image in memory) on TurboJPEG into Format_RGB32.
// Motion-JPEG frames, which leave out the Huffman tables, decode too: the decoder falls back to
// the standard tables. Stateless; each call uses a decoder of its own, so any thread may call.
class JpegFrameDecoder {
public:
    // Frames above this many pixels are refused before any memory is taken for them. The largest
    // still a scanner delivers is a few tens of megapixels.
    static constexpr std::int64_t kMaxPixels = std::int64_t{8192} * 8192;

    // kOk and the picture in `image`; kBadImage for anything that is not a whole, clean image (a
    // frame cut short is refused, never shown half grey); kOutOfMemory when the picture's memory
    // cannot be had.
    static Status Decode(const std::uint8_t* data, std::size_t length, QImage* image);
};

}  // namespace zv
