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

int QtTextFlags(std::uint32_t format) {
    int flags = Qt::AlignTop;
    if (format & dt::kCenter) {
        flags |= Qt::AlignHCenter;
    } else if (format & dt::kRight) {
        flags |= Qt::AlignRight;
    } else {
        flags |= Qt::AlignLeft;
    }
    if (format & dt::kSingleLine) {
        flags |= Qt::TextSingleLine;
        if (format & dt::kVCenter) {
            flags = (flags & ~Qt::AlignTop) | Qt::AlignVCenter;
        } else if (format & dt::kBottom) {
            flags = (flags & ~Qt::AlignTop) | Qt::AlignBottom;
        }
    }
    if (format & dt::kWordBreak) {
        flags |= Qt::TextWordWrap;
    }
    if (format & dt::kExpandTabs) {
        flags |= Qt::TextExpandTabs;
    }
    if (!(format & dt::kNoPrefix)) {
        flags |= Qt::TextShowMnemonic;
    }
    return flags;
}

QString WithLineFeeds(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

}  // namespace zv
