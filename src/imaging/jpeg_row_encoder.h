#pragma once

#include "platform/status.h"

#include <QByteArray>
#include <QSize>
#include <QtGlobal>

#include <memory>

namespace zv {

// What the file carries beside the picture, in its header.
struct JpegFileHeader {
    // The payload of an APP1 segment ("Exif\0\0" first) written right after the JFIF header,
    // before the tables and the frame; none when empty.
    QByteArray exif;
    // The JFIF density in dots per inch; when empty the JFIF header gives no unit (aspect 1:1).
    QSize dotsPerInch;
};

// Encodes an output picture row by row, as its rows become ready, into a baseline JPEG at quality
// 100 with full-resolution chroma (4:4:4): the highest quality the format offers. Rows are
// Format_RGB32. One object per picture, used by one thread.
class JpegRowEncoder {
public:
    static constexpr int kQuality = 100;

    JpegRowEncoder();
    ~JpegRowEncoder();
    JpegRowEncoder(const JpegRowEncoder&) = delete;
    JpegRowEncoder& operator=(const JpegRowEncoder&) = delete;

    // Writes the header. kInvalidArg for an empty or oversized picture, or an Exif payload too
    // large for a segment; kFail when the encoder refuses.
    Status Start(QSize size, const JpegFileHeader& header = {});
    // The next `count` rows, `stride` bytes apart. kFail beyond the last row or after a fault.
    Status WriteRows(const uchar* first, qsizetype stride, int count);
    // After the last row: the whole file in `jpeg`. kFail when rows are missing.
    Status Finish(QByteArray* jpeg);

private:
    struct State;
    Status WriteBatch(unsigned char** rows, int count);
    std::unique_ptr<State> m_state;
};

}  // namespace zv
