#pragma once

#include <QFont>
#include <QString>

#include <cstdint>

namespace zv {

// A whole font description in the system's terms: heights in pixels (negative: character height),
// weight 100..900, escapement and orientation in tenths of a degree.
struct LogFont {
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 400;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 1;
    QString faceName;  // at most 31 characters

    bool operator==(const LogFont&) const = default;
};

}  // namespace zv
