#pragma once

#include "imaging/band_mapping.h"

#include <QImage>
#include <QPainter>

namespace zv {

// Draws the target in runs of rows from the decoded rows of a frame with plain bilinear
// interpolation (QPainter's SmoothPixmapTransform, no prefilter when shrinking). A run reads only
// the frame rows BandMapping::SourceRows names, so it can be drawn while later rows are still
// being decoded, and runs drawn one after another give the picture one painter would draw at
// once. Target pixels outside the visible part of the band are black. One picture of a run's
// rows and one painter on it serve every run. Used by one thread.
class BandPainter {
public:
    // `frame` is the first row of the decoded frame (Format_RGB32 rows `stride` bytes apart,
    // `frameWidth` pixels wide); only the rows a run reads are touched.
    BandPainter(const BandMapping& mapping, const uchar* frame, qsizetype stride, int frameWidth,
                int runRows);
    BandPainter(const BandPainter&) = delete;
    BandPainter& operator=(const BandPainter&) = delete;

    // False when the run's memory could not be had.
    bool IsValid() const { return !m_run.isNull(); }

    // Draws target rows [top, top + rows), rows <= runRows; their pixels are the first rows of
    // the returned picture, valid until the next call.
    const QImage& Paint(int top, int rows);

private:
    const BandMapping& m_mapping;
    const uchar* m_frame;
    qsizetype m_stride;
    int m_frameWidth;
    QImage m_run;
    QPainter m_painter;
};

}  // namespace zv
