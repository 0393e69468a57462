#include "imaging/band_painter.h"

#include <QPainter>

namespace zv {

BandPainter::BandPainter(const BandMapping& mapping, const uchar* frame, qsizetype stride,
                         int frameWidth)
    : m_mapping(mapping), m_frame(frame), m_stride(stride), m_frameWidth(frameWidth) {}

void BandPainter::Paint(int top, QImage* rows) const {
    if (!m_mapping.IsCovered()) {
        rows->fill(Qt::black);
    }
    const BandMapping::Rows source = m_mapping.SourceRows(top, top + rows->height());
    if (source.IsEmpty()) {
        return;
    }
    // A picture of just the rows this run reads: the painter cannot reach rows still being
    // decoded. Interpolation stops at the visible part's edges as it would for the whole band.
    const QImage frameRows(m_frame + source.begin * m_stride, m_frameWidth,
                           source.end - source.begin, m_stride, QImage::Format_RGB32);
    const QRect visible = m_mapping.Visible();
    QPainter painter(rows);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(0, -top);
    painter.drawImage(m_mapping.TargetRect(source), frameRows,
                      QRectF(visible.x(), 0, visible.width(), source.end - source.begin));
}

}  // namespace zv
