#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <cstdint>

class QPainter;

namespace zv {

// A text after prefix processing: "&&" shows one "&", "&x" shows x underlined (the mnemonic),
// a "&" at the very end is dropped.
struct PrefixedText {
    QString shown;
    QList<int> underlined;  // positions in `shown`, ascending

    bool operator==(const PrefixedText&) const = default;
};

PrefixedText ResolvePrefixes(const QString& text);

// Draws `text` into `rect` as a rectangle-formatted text of the system: horizontal alignment
// and word wrap at the rectangle's width per line (kCenter, kRight, kWordBreak), tab expansion
// to stops every eight average character widths (kExpandTabs), one line centred or at the
// bottom (kSingleLine with kVCenter or kBottom), otherwise lines from the top, one font height
// apart; prefix processing unless kNoPrefix; clipped to `rect`. A non-zero `escapementTenths`
// (tenths of a degree counter-clockwise) turns each line about its top-left corner, as a
// rotated font does. Uses the painter's font and pen; the painter's state is kept.
void DrawTextInRect(QPainter& painter, const QRect& rect, const QString& text, std::uint32_t format,
                    int escapementTenths = 0);

}  // namespace zv
