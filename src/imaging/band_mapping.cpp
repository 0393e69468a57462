#include "imaging/band_mapping.h"

#include <algorithm>
#include <cmath>

namespace zv {

BandMapping::BandMapping(QSize frame, const QRect& band, QSize target)
    : m_band(band), m_visible(band.intersected(QRect(QPoint(0, 0), frame))), m_target(target) {
    if (!band.isEmpty() && !target.isEmpty()) {
        m_scaleX = static_cast<double>(target.width()) / band.width();
        m_scaleY = static_cast<double>(target.height()) / band.height();
    }
}

BandMapping::Rows BandMapping::SourceRows(int top, int bottom) const {
    if (IsEmpty() || bottom <= top) {
        return {};
    }
    // Bilinear interpolation reads, for the centre of target row y, frame rows floor(f) and
    // floor(f) + 1 with f = band.y + (y + 0.5) / scaleY - 0.5.
    const auto rowAt = [&](int y) {
        return static_cast<int>(std::floor(m_band.y() + (y + 0.5) / m_scaleY - 0.5));
    };
    const int begin = std::max(rowAt(top) - kMargin, m_visible.top());
    const int end = std::min(rowAt(bottom - 1) + 2 + kMargin, m_visible.bottom() + 1);
    if (end <= begin) {
        return {};
    }
    return {begin, end};
}

QRectF BandMapping::TargetRect(Rows rows) const {
    return QRectF((m_visible.x() - m_band.x()) * m_scaleX, (rows.begin - m_band.y()) * m_scaleY,
                  m_visible.width() * m_scaleX, (rows.end - rows.begin) * m_scaleY);
}

}  // namespace zv
