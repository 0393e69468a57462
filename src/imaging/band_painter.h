#pragma once

#include "imaging/band_mapping.h"

#include <QImage>

namespace zv {

// Draws runs of target rows from the decoded rows of a frame with plain bilinear interpolation
// (QPainter's SmoothPixmapTransform, no prefilter when shrinking). A run reads only the frame
// rows BandMapping::SourceRows names, so it can be drawn while later rows are still being
// decoded, and runs drawn one after another give the picture one painter would draw at once.
// Target pixels outside the visible part of the band are black. Used by one thread.
class BandPainter {
public:
    // `frame` is the first row of the decoded frame (Format_RGB32 rows `stride` bytes apart,
    // `frameWidth` pixels wide); only the rows a run reads are touched.
    BandPainter(const BandMapping& mapping, const uchar* frame, qsizetype stride, int frameWidth);

    // Draws target rows [top, top + rows.height()) into `rows` (target width, Format_RGB32).
    void Paint(int top, QImage* rows) const;

private:
    const BandMapping& m_mapping;
    const uchar* m_frame;
    qsizetype m_stride;
    int m_frameWidth;
};

}  // namespace zv
