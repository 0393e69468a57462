#pragma once

#include "controls/color_ref.h"

#include <QPainter>
#include <QRect>

namespace zv {

// Fills `rect` with a left-to-right gradient from `from` to `to` in at most 100 vertical bands of
// width / bands pixels; the last band reaches the right edge and is one step short of `to`. The
// channel steps are 256-scaled integers truncated toward zero, so the band colours are exactly
// reproducible. A rectangle of zero or negative width gets no band. Whatever thread owns the
// painter's device may call it.
void PaintGradient(QPainter& painter, const QRect& rect, ColorRef from, ColorRef to);

}  // namespace zv
