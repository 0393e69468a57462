#include "window/dialog_units.h"

#include <QFontMetrics>

namespace zv {
namespace {

// The average width is taken over the 52 Latin letters, rounded, as dialog layouts assume.
int MeasureAverageCharWidth(const QFontMetrics& metrics) {
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return (width / 26 + 1) / 2;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
    : DialogUnits(MeasureAverageCharWidth(QFontMetrics(font)), QFontMetrics(font).height()) {}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height));
}

}  // namespace zv
