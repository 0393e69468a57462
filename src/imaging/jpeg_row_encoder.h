#pragma once

#include "platform/status.h"

#include <QByteArray>
#include <QSize>
#include <QtGlobal>

#include <memory>

namespace zv {

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

    // kInvalidArg for an empty or oversized picture; kFail when the encoder refuses.
    Status Start(QSize size);
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
