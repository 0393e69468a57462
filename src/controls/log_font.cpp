#include "controls/log_font.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace zv {
namespace {

constexpr int kNormalWeight = 400;
constexpr int kMaxWeight = 1000;

// a * b / c rounded half away from zero; c is not 0 and the product fits in 64 bits.
std::int64_t RoundedQuotient(std::int64_t product, std::int64_t divisor) {
    const bool negative = (product < 0) != (divisor < 0);
    const std::int64_t magnitude =
        (std::llabs(product) + std::llabs(divisor) / 2) / std::llabs(divisor);
    return negative ? -magnitude : magnitude;
}

int Saturated(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, -std::numeric_limits<int>::max(),
                                                     std::numeric_limits<int>::max()));
}

}  // namespace

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const std::int64_t result = RoundedQuotient(static_cast<std::int64_t>(a) * b, c);
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) {
        return -1;
    }
    return static_cast<int>(result);
}

int PointFontHeight(int dpiY, int points) {
    const std::int64_t tenths = static_cast<std::int64_t>(points) * 10;
    std::int64_t product = 0;
    if (__builtin_mul_overflow(static_cast<std::int64_t>(dpiY), tenths, &product)) {
        // Far beyond 32 bits either way: saturate with the sign of the exact result.
        return (dpiY < 0) != (points < 0) ? std::numeric_limits<int>::max()
                                          : -std::numeric_limits<int>::max();
    }
    return Saturated(-RoundedQuotient(product, 720));
}

QString FaceNameWithinLimit(const QString& face) {
    if (face.size() <= LogFont::kMaxFaceName) {
        return face;
    }
    qsizetype length = LogFont::kMaxFaceName;
    if (face.at(length - 1).isHighSurrogate()) {
        --length;
    }
    return face.left(length);
}

LogFont LogFontFromQFont(const QFont& font, int dpiY) {
    LogFont description;
    int pixels = 0;
    if (font.pixelSize() > 0) {
        pixels = font.pixelSize();
    } else if (font.pointSizeF() > 0) {
        pixels = static_cast<int>(std::lround(font.pointSizeF() * dpiY / 72.0));
    }
    description.height = -pixels;
    description.weight = font.weight();
    description.italic = font.italic() ? 1 : 0;
    description.underline = font.underline() ? 1 : 0;
    description.strikeOut = font.strikeOut() ? 1 : 0;
    description.faceName = FaceNameWithinLimit(font.family());
    return description;
}

QFont QFontFromLogFont(const LogFont& description, const QFont& base) {
    QFont font(base);
    if (!description.faceName.isEmpty()) {
        font.setFamily(description.faceName);
    }
    if (description.height != 0) {
        // |height| in 64 bits: the most negative 32-bit height has no 32-bit magnitude.
        const auto magnitude = std::llabs(static_cast<std::int64_t>(description.height));
        const int asked = static_cast<int>(std::min<std::int64_t>(magnitude, kMaxFontPixelSize));
        font.setPixelSize(asked);
        if (description.height > 0) {
            // A cell height: the character height whose ascent + descent fills the cell.
            const qreal cell = QFontMetricsF(font).height();
            if (cell > 0) {
                const double pixels = std::round(double(asked) * asked / cell);
                font.setPixelSize(static_cast<int>(std::clamp(pixels, 1.0, double(asked))));
            }
        }
    }
    const int weight =
        description.weight <= 0 ? kNormalWeight : std::min(description.weight, kMaxWeight);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(description.italic != 0);
    font.setUnderline(description.underline != 0);
    font.setStrikeOut(description.strikeOut != 0);
    if (description.width > 0) {
        // The average character width asked for, as a stretch of the font's own.
        const qreal average = QFontMetricsF(font).averageCharWidth();
        if (average > 0) {
            const double stretch = std::round(description.width * 100.0 / average);
            font.setStretch(static_cast<int>(std::clamp(stretch, 1.0, 4000.0)));
        }
    }
    return font;
}

}  // namespace zv
