#include "controls/text_format.h"

#include "controls/static_style.h"

namespace zv {

std::uint32_t LabelTextFormat(std::uint32_t style, const QString& text) {
    if (style & ss::kCenterImage) {
        return text.contains(QStringLiteral("\r\n")) ? dt::kCenter
                                                     : dt::kCenter | dt::kVCenter | dt::kSingleLine;
    }
    std::uint32_t format = dt::kWordBreak;
    switch (style & ss::kTypeMask) {
        case ss::kCenter:
            format = dt::kCenter | dt::kWordBreak;
            break;
        case ss::kRight:
            format = dt::kRight | dt::kWordBreak;
            break;
        case ss::kLeftNoWordWrap:
            format = dt::kLeft;
            break;
        default:
            break;
    }
    if (text.contains(QLatin1Char('\t'))) {
        format |= dt::kExpandTabs;
    }
    return format;
}

}  // namespace zv
