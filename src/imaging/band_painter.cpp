#include "imaging/band_painter.h"

namespace zv {

BandPainter::BandPainter(const BandMapping& mapping, const uchar* frame, qsizetype stride,
                         int frameWidth, int runRows)
    : m_mapping(mapping),
      m_frame(frame),
      m_stride(stride),
      m_frameWidth(frameWidth),
      m_run(mapping.Target().width(), runRows, QImage::Format_RGB32) {
    if (!m_run.isNull()) {
        m_painter.begin(&m_run);
        m_painter.setCompositionMode(QPainter::CompositionMode_Source);
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
}

const QImage& BandPainter::Paint(int top, int rows) {
    if (!m_mapping.IsCovered()) {
        m_run.fill(Qt::black);
    }
    const BandMapping::Rows source = m_mapping.SourceRows(top, top + rows);
    if (source.IsEmpty()) {
        return m_run;
    }
    // A picture of just the rows this run reads: the painter cannot reach rows still being
    // decoded. Interpolation stops at the visible part's edges as it would for the whole band.
    const QImage frameRows(m_frame + source.begin * m_stride, m_frameWidth,
                           source.end - source.begin, m_stride, QImage::Format_RGB32);
    const QRect visible = m_mapping.Visible();
    m_painter.resetTransform();
    m_painter.translate(0, -top);
    m_painter.drawImage(m_mapping.TargetRect(source), frameRows,
                        QRectF(visible.x(), 0, visible.width(), source.end - source.begin));
    return m_run;
}

}  // namespace zv
