#pragma once

#include <QColor>

#include <cstdint>

namespace zv {

// A colour as the system states it: 0x00BBGGRR.
using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(int red, int green, int blue) {
    return static_cast<ColorRef>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(ColorRef colour) {
    return static_cast<int>(colour & 0xFF);
}
constexpr int GreenOf(ColorRef colour) {
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int BlueOf(ColorRef colour) {
    return static_cast<int>((colour >> 16) & 0xFF);
}

inline QColor ToQColor(ColorRef colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}
inline ColorRef FromQColor(const QColor& colour) {
    return Rgb(colour.red(), colour.green(), colour.blue());
}

}  // namespace zv
