#pragma once

#include "platform/status.h"

#include <QSize>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zv {

// Decodes one still frame (a whole JPEG image in memory) row by row into Format_RGB32 rows, so
// that the rows decoded so far can be used while the rest is still being decoded. Motion-JPEG
// frames, which leave out the Huffman tables, decode too: libjpeg-turbo falls back to the
// standard tables. Any damage to the pixels (corrupt data, a frame cut short, a missing end
// marker, a lost restart) fails the decode; nothing is shown half grey. Quirks that leave every
// pixel intact (stray bytes before a marker, an unknown JFIF version) do not. One object per
// frame, used by one thread.
class JpegRowDecoder {
public:
    // Frames above this many pixels are refused before any memory is taken for them. The largest
    // still a scanner delivers is a few tens of megapixels.
    static constexpr std::int64_t kMaxPixels = std::int64_t{8192} * 8192;
    // A progressive image with more scans than this is refused rather than decoded for minutes.
    static constexpr int kMaxScans = 500;

    JpegRowDecoder();
    ~JpegRowDecoder();
    JpegRowDecoder(const JpegRowDecoder&) = delete;
    JpegRowDecoder& operator=(const JpegRowDecoder&) = delete;

    // Reads the header and starts decoding. `data` must stay valid until Finish. kBadImage for
    // anything that is not a JPEG image of an accepted size.
    Status Open(const std::uint8_t* data, std::size_t length);

    // The picture's size (after a successful Open).
    QSize Size() const;
    // Rows decoded so far.
    int RowsDone() const;

    // Decodes up to `count` further rows into `first`, `first + stride`, ...; `*decoded` says how
    // many. kBadImage when the data is damaged; the decoder then stays failed.
    Status ReadRows(uchar* first, qsizetype stride, int count, int* decoded);

    // Passes over the next `count` rows without producing their pixels; their data is still read
    // and checked. kBadImage when the data is damaged.
    Status SkipRows(int count);

    // After the last row: reads the rest of the frame up to its end marker. kBadImage when not
    // every row was read or the frame does not end cleanly.
    Status Finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace zv
