#include "controls/draw_text.h"

#include "controls/text_format.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>
#include <QtMath>

namespace zv {
namespace {

constexpr int kTabStopChars = 8;

bool IsLineBreak(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// One line of shown text with the underlined positions that fall into it.
struct ShownLine {
    QString text;
    QList<QTextLayout::FormatRange> underlines;
};

QList<ShownLine> ShownLines(const PrefixedText& prefixed, std::uint32_t format) {
    QTextCharFormat underline;
    underline.setFontUnderline(true);
    QList<ShownLine> lines(1);
    const QString& shown = prefixed.shown;
    qsizetype next = 0;  // index into prefixed.underlined
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar c = shown.at(i);
        if (IsLineBreak(c) && !(format & dt::kSingleLine)) {
            if (c == QLatin1Char('\r') && i + 1 < shown.size() &&
                shown.at(i + 1) == QLatin1Char('\n')) {
                ++i;
            }
            lines.append(ShownLine{});
            continue;
        }
        ShownLine& line = lines.last();
        while (next < prefixed.underlined.size() && prefixed.underlined.at(next) < i) {
            ++next;
        }
        if (next < prefixed.underlined.size() && prefixed.underlined.at(next) == i) {
            line.underlines.append({static_cast<int>(line.text.size()), 1, underline});
        }
        line.text.append(IsLineBreak(c) ? QChar(QLatin1Char(' ')) : c);
    }
    return lines;
}

// Left edge of a line of `lineWidth` pixels, on whole pixels so that glyphs stay crisp.
int AlignedX(const QRect& rect, qreal lineWidth, std::uint32_t format) {
    const int width = qCeil(lineWidth);
    if (format & dt::kCenter) {
        return rect.left() + (rect.width() - width) / 2;
    }
    if (format & dt::kRight) {
        return rect.left() + rect.width() - width;
    }
    return rect.left();
}

}  // namespace

PrefixedText ResolvePrefixes(const QString& text) {
    PrefixedText result;
    result.shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&')) {
            result.shown.append(text.at(i));
            continue;
        }
        if (++i == text.size()) {
            break;  // a trailing prefix marks nothing
        }
        if (text.at(i) != QLatin1Char('&')) {
            result.underlined.append(static_cast<int>(result.shown.size()));
        }
        result.shown.append(text.at(i));
    }
    return result;
}

void DrawTextInRect(QPainter& painter, const QRect& rect, const QString& text, std::uint32_t format,
                    int escapementTenths) {
    if (text.isEmpty() || rect.isEmpty()) {
        return;
    }
    const PrefixedText prefixed =
        (format & dt::kNoPrefix) ? PrefixedText{text, {}} : ResolvePrefixes(text);
    // Whole pixels, as the system's text metrics are.
    const QFontMetrics metrics(painter.font(), painter.device());
    QTextOption option;
    option.setWrapMode((format & dt::kWordBreak) && !(format & dt::kSingleLine)
                           ? QTextOption::WordWrap
                           : QTextOption::NoWrap);
    if (format & dt::kExpandTabs) {
        option.setTabStopDistance(kTabStopChars * metrics.averageCharWidth());
    }
    const int lineHeight = metrics.height();
    int y = rect.top();
    if (format & dt::kSingleLine) {
        if (format & dt::kVCenter) {
            y = rect.top() + (rect.height() - lineHeight) / 2;
        } else if (format & dt::kBottom) {
            y = rect.top() + rect.height() - lineHeight;
        }
    }

    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    for (const ShownLine& shown : ShownLines(prefixed, format)) {
        QTextLayout layout(shown.text, painter.font(), painter.device());
        layout.setTextOption(option);
        layout.setFormats(shown.underlines);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            // Without word wrap the width breaks nothing: the line runs on and is clipped.
            line.setLineWidth(rect.width());
            line.setPosition(QPointF(0, 0));
        }
        layout.endLayout();
        // An empty line still takes its height, as a blank line of the text does.
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            const QPoint origin(AlignedX(rect, line.naturalTextWidth(), format), y);
            painter.save();
            painter.translate(origin);
            painter.rotate(-escapementTenths / 10.0);
            line.draw(&painter, QPointF(0, 0));
            painter.restore();
            y += lineHeight;
        }
        if (layout.lineCount() == 0) {
            y += lineHeight;
        }
        if (escapementTenths == 0 && y > rect.bottom()) {
            break;  // every further line lies below the rectangle
        }
    }
    painter.restore();
}

}  // namespace zv
