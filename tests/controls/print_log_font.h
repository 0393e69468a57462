#pragma once

#include "controls/log_font.h"

#include <ostream>

namespace zv {

// Readable failure messages for font descriptions.
inline void PrintTo(const LogFont& font, std::ostream* out) {
    *out << "{height " << font.height << ", width " << font.width << ", escapement "
         << font.escapement << ", orientation " << font.orientation << ", weight " << font.weight
         << ", italic " << int(font.italic) << ", underline " << int(font.underline)
         << ", strike-out " << int(font.strikeOut) << ", char set " << int(font.charSet)
         << ", face \"" << font.faceName.toStdString() << "\"}";
}

}  // namespace zv
