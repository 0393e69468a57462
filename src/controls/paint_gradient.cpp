#include "controls/paint_gradient.h"

#include <algorithm>
#include <array>

namespace zv {
namespace {

constexpr int kMaxBands = 100;

std::array<int, 3> Channels(ColorRef colour) {
    return {RedOf(colour), GreenOf(colour), BlueOf(colour)};
}

}  // namespace

void PaintGradient(QPainter& painter, const QRect& rect, ColorRef from, ColorRef to) {
    const int width = rect.width();
    const int bands = std::min(width, kMaxBands);
    if (bands <= 0) {
        return;
    }
    const std::array<int, 3> start = Channels(from);
    const std::array<int, 3> end = Channels(to);
    std::array<int, 3> step{};
    std::array<int, 3> accumulator{};
    for (std::size_t c = 0; c < 3; ++c) {
        // Integer division truncates toward zero, for falling channels too.
        step[c] = ((end[c] - start[c]) * 256) / bands;
        accumulator[c] = start[c] * 256;
    }
    const int bandWidth = width / bands;
    const int right = rect.left() + width;  // one past the last column
    int x = rect.left();
    for (int band = 0; band < bands; ++band) {
        const int edge = band == bands - 1 ? right : x + bandWidth;
        const QColor colour((accumulator[0] / 256) & 0xFF, (accumulator[1] / 256) & 0xFF,
                            (accumulator[2] / 256) & 0xFF);
        // The band covers columns x to edge; the next band starts on edge and paints over that
        // column, the last one stops at the rectangle's right side.
        const int lastColumn = std::min(edge, right - 1);
        painter.fillRect(QRect(x, rect.top(), lastColumn - x + 1, rect.height()), colour);
        for (std::size_t c = 0; c < 3; ++c) {
            accumulator[c] += step[c];
        }
        x = edge;
    }
}

}  // namespace zv
