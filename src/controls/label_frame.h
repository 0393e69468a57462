#pragma once

#include <QPalette>
#include <QRect>

#include <cstdint>

class QPainter;

namespace zv {

// Pixels the frame of a label takes on each side: one for the border (WS_BORDER), one for the
// sunken static edge (WS_EX_STATICEDGE).
int LabelFrameWidth(std::uint32_t style, std::uint32_t exStyle);

// Paints the frame the styles ask for inside `outer`, the label's whole rectangle: the border,
// outermost, as a plain line in the palette's window text colour; within it the static edge,
// sunken: the palette's dark colour along the top and left, its light colour along the bottom
// and right. Paints nothing without either style.
void PaintLabelFrame(QPainter& painter, const QRect& outer, std::uint32_t style,
                     std::uint32_t exStyle, const QPalette& palette);

}  // namespace zv
