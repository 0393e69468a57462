#include "controls/label_frame.h"

#include "controls/static_style.h"

#include <QPainter>

namespace zv {

int LabelFrameWidth(std::uint32_t style, std::uint32_t exStyle) {
    return ((style & ss::kWsBorder) ? 1 : 0) + ((exStyle & ss::kWsExStaticEdge) ? 1 : 0);
}

void PaintLabelFrame(QPainter& painter, const QRect& outer, std::uint32_t style,
                     std::uint32_t exStyle, const QPalette& palette) {
    // Lines of a one-pixel pen run through pixel centres: the last column and row of the
    // rectangle are right() and bottom().
    QRect edge = outer;
    painter.save();
    painter.setBrush(Qt::NoBrush);
    if (style & ss::kWsBorder) {
        painter.setPen(palette.color(QPalette::WindowText));
        painter.drawRect(edge.adjusted(0, 0, -1, -1));
        edge.adjust(1, 1, -1, -1);
    }
    if ((exStyle & ss::kWsExStaticEdge) && !edge.isEmpty()) {
        painter.setPen(palette.color(QPalette::Dark));
        painter.drawLine(edge.topLeft(), edge.topRight());
        painter.drawLine(edge.topLeft(), edge.bottomLeft());
        painter.setPen(palette.color(QPalette::Light));
        painter.drawLine(edge.bottomLeft() + QPoint(1, 0), edge.bottomRight());
        painter.drawLine(edge.topRight() + QPoint(0, 1), edge.bottomRight());
    }
    painter.restore();
}

}  // namespace zv
