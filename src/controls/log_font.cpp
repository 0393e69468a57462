#include "controls/log_font.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace zv {

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t divisor = c;
    const bool negative = (product < 0) != (divisor < 0);
    const std::int64_t magnitude =
        (std::abs(product) + std::abs(divisor) / 2) / std::abs(divisor);
    const std::int64_t result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) {
        return -1;
    }
    return static_cast<int>(result);
}

int PointFontHeight(int dpiY, int points) { return -MulDiv(dpiY, points * 10, 720); }

LogFont LogFontFromQFont(const QFont& font, int dpiY) {
    LogFont description;
    const int pixels = font.pixelSize() > 0
                           ? font.pixelSize()
                           : static_cast<int>(std::lround(font.pointSizeF() * dpiY / 72.0));
    description.height = -pixels;
    description.weight = font.weight();
    description.italic = font.italic() ? 1 : 0;
    description.underline = font.underline() ? 1 : 0;
    description.strikeOut = font.strikeOut() ? 1 : 0;
    description.faceName = font.family().left(LogFont::kMaxFaceName);
    return description;
}

QFont QFontFromLogFont(const LogFont& description, const QFont& base) {
    QFont font(base);
    if (!description.faceName.isEmpty()) {
        font.setFamily(description.faceName);
    }
    if (description.height < 0) {
        font.setPixelSize(-description.height);
    } else if (description.height > 0) {
        // A cell height: find the character height whose ascent + descent fills the cell.
        font.setPixelSize(description.height);
        const qreal cell = QFontMetricsF(font).height();
        if (cell > 0) {
            const auto pixels = std::lround(description.height * description.height / cell);
            font.setPixelSize(std::max<int>(1, static_cast<int>(pixels)));
        }
    }
    const int weight = description.weight <= 0 ? 400 : std::min(description.weight, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(description.italic != 0);
    font.setUnderline(description.underline != 0);
    font.setStrikeOut(description.strikeOut != 0);
    if (description.width > 0) {
        // The average character width asked for, as a stretch of the font's own.
        const qreal average = QFontMetricsF(font).averageCharWidth();
        if (average > 0) {
            const auto stretch = std::lround(description.width * 100.0 / average);
            font.setStretch(static_cast<int>(std::clamp<long>(stretch, 1, 4000)));
        }
    }
    return font;
}

}  // namespace zv
