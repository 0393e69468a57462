#pragma once

#include <QFont>
#include <QString>

#include <cstdint>

namespace zv {

// A whole font description in the system's terms: heights in pixels (negative: character height,
// positive: cell height, 0: the default size), weight 100..900 (0: normal), escapement and
// orientation in tenths of a degree counter-clockwise.
struct LogFont {
    // Longest face name a description holds, in UTF-16 code units.
    static constexpr int kMaxFaceName = 31;

    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 400;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 1;
    QString faceName;  // at most kMaxFaceName code units

    bool operator==(const LogFont&) const = default;
};

// Largest character height, in pixels, a font is drawn with. Above it the font engine's fixed-point
// metrics overflow; no label is that tall.
inline constexpr int kMaxFontPixelSize = 8192;

// a * b / c in 64 bits, rounded to the nearest integer with halves away from zero; -1 when c is
// 0 or the result does not fit in 32 bits.
int MulDiv(int a, int b, int c);

// Height of the description of a font of `points` points measured on a screen of `dpiY` dots
// per inch: -MulDiv(dpiY, points x 10, 720), worked in 64 bits so that no point size overflows;
// a result beyond 32 bits saturates. 20 points at 96 dpi give -27, 32 points -43.
int PointFontHeight(int dpiY, int points);

// `face` cut to LogFont::kMaxFaceName code units; a surrogate pair that would be split at the
// cut is dropped whole.
QString FaceNameWithinLimit(const QString& face);

// The description of `font` as drawn on a device of `dpiY` dots per inch: the character height
// in pixels (negative), weight, italic, underline, strike-out and the face (cut to
// kMaxFaceName). Escapement, orientation and width are 0.
LogFont LogFontFromQFont(const QFont& font, int dpiY);

// The font a description draws with. What the description leaves open (no face, height 0) is
// taken from `base`. A negative height becomes the pixel size; a positive one is the cell height
// (ascent + descent); either is held to kMaxFontPixelSize. Escapement is not part of a QFont:
// whoever draws rotates the painter.
QFont QFontFromLogFont(const LogFont& description, const QFont& base);

}  // namespace zv
