#pragma once

#include <QRect>
#include <QRectF>
#include <QSize>

namespace zv {

// How the band of a frame lands on the whole target: the band (in the frame's pixels) is scaled
// onto the target; the part of the band that lies inside the decoded frame is the visible part,
// and the rest of the target shows no frame. Tells which frame rows a run of target rows reads
// when drawn with bilinear interpolation, so rows can be drawn as soon as those are decoded.
class BandMapping {
public:
    // Rows [begin, end) of the frame.
    struct Rows {
        int begin = 0;
        int end = 0;
        bool IsEmpty() const { return end <= begin; }
        bool operator==(const Rows&) const = default;
    };

    // Frame rows read on each side beyond those the interpolation needs, for rounding.
    static constexpr int kMargin = 2;

    BandMapping(QSize frame, const QRect& band, QSize target);

    QSize Target() const { return m_target; }
    // The part of the band inside the frame.
    QRect Visible() const { return m_visible; }
    // No pixel of the frame falls in the band: nothing to draw.
    bool IsEmpty() const { return m_visible.isEmpty() || m_target.isEmpty(); }
    // The frame covers the whole band: no target pixel stays black.
    bool IsCovered() const { return !IsEmpty() && m_visible == m_band; }
    // The band lies inside the frame at the target's size: target row y is frame row band.y + y.
    bool IsUnscaled() const { return IsCovered() && m_band.size() == m_target; }
    int BandTop() const { return m_band.y(); }

    // The visible frame rows that target rows [top, bottom) read; empty when they show no frame.
    Rows SourceRows(int top, int bottom) const;
    // Where frame rows [rows.begin, rows.end) of the visible part land on the target.
    QRectF TargetRect(Rows rows) const;

private:
    QRect m_band;
    QRect m_visible;
    QSize m_target;
    double m_scaleX = 0;
    double m_scaleY = 0;
};

}  // namespace zv
