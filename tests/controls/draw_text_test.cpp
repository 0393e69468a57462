#include "controls/draw_text.h"

#include "controls/text_format.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace zv {
namespace {

struct PrefixCase {
    const char16_t* text;
    const char16_t* shown;
    QList<int> underlined;
};

class ResolvePrefixesTest : public testing::TestWithParam<PrefixCase> {};

TEST_P(ResolvePrefixesTest, ShowsTextAndMarksMnemonics) {
    const PrefixCase& test = GetParam();
    const PrefixedText result = ResolvePrefixes(QString::fromUtf16(test.text));
    EXPECT_EQ(result.shown, QString::fromUtf16(test.shown));
    EXPECT_EQ(result.underlined, test.underlined);
}

INSTANTIATE_TEST_SUITE_P(Table, ResolvePrefixesTest,
                         testing::Values(PrefixCase{u"", u"", {}}, PrefixCase{u"Scan", u"Scan", {}},
                                         PrefixCase{u"&Scan", u"Scan", {0}},
                                         PrefixCase{u"Sa&ve", u"Save", {2}},
                                         PrefixCase{u"R&&D", u"R&D", {}},
                                         PrefixCase{u"&&&x", u"&x", {1}},
                                         PrefixCase{u"end&", u"end", {}}, PrefixCase{u"&", u"", {}},
                                         PrefixCase{u"&a&b", u"ab", {0, 1}}));

// Text drawn black on white into a 200 x 60 image.
class DrawTextInRectTest : public testing::Test {
protected:
    DrawTextInRectTest() {
        font.setFamily(QStringLiteral("DejaVu Sans Mono"));
        font.setPixelSize(14);
    }

    QImage Draw(const QString& text, std::uint32_t format, const QRect& rect = kRect,
                int escapement = 0) const {
        QImage image(200, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        DrawTextInRect(painter, rect, text, format, escapement);
        return image;
    }

    // Bounding box of the pixels that are not white.
    static QRect Ink(const QImage& image) {
        QRect box;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                    box |= QRect(x, y, 1, 1);
                }
            }
        }
        return box;
    }

    int LineHeight() const { return QFontMetrics(font).height(); }

    static constexpr QRect kRect{0, 0, 200, 60};
    QFont font;
};

TEST_F(DrawTextInRectTest, AlignsEachLineHorizontally) {
    const QRect left = Ink(Draw(QStringLiteral("MMM"), dt::kLeft));
    const QRect centre = Ink(Draw(QStringLiteral("MMM"), dt::kCenter));
    const QRect right = Ink(Draw(QStringLiteral("MMM"), dt::kRight));
    ASSERT_FALSE(left.isEmpty());
    EXPECT_LE(left.left(), 2);
    EXPECT_NEAR(centre.center().x(), 100, 2);
    EXPECT_GE(right.right(), 196);
    EXPECT_EQ(left.width(), centre.width());
    EXPECT_EQ(left.width(), right.width());
    // Every format without kSingleLine starts at the top.
    EXPECT_LE(left.top(), LineHeight() / 2);
}

TEST_F(DrawTextInRectTest, SingleLineCentresVerticallyOrSitsAtTheBottom) {
    const QRect top = Ink(Draw(QStringLiteral("MMM"), dt::kSingleLine));
    const QRect middle = Ink(Draw(QStringLiteral("MMM"), dt::kSingleLine | dt::kVCenter));
    const QRect bottom = Ink(Draw(QStringLiteral("MMM"), dt::kSingleLine | dt::kBottom));
    const int lineTop = (60 - LineHeight()) / 2;
    EXPECT_EQ(middle.top() - top.top(), lineTop);
    EXPECT_EQ(bottom.top() - top.top(), 60 - LineHeight());
    // kVCenter without kSingleLine does nothing.
    EXPECT_EQ(Ink(Draw(QStringLiteral("MMM"), dt::kVCenter)), top);
}

TEST_F(DrawTextInRectTest, LinesFollowOneFontHeightApart) {
    const QRect one = Ink(Draw(QStringLiteral("MMM"), 0));
    const QRect three = Ink(Draw(QStringLiteral("MMM\r\nMMM\rMMM"), 0));
    EXPECT_EQ(three.top(), one.top());
    EXPECT_EQ(three.bottom() - one.bottom(), 2 * LineHeight());
    // An empty line keeps its place.
    const QRect gap = Ink(Draw(QStringLiteral("MMM\n\nMMM"), 0));
    EXPECT_EQ(gap.bottom() - one.bottom(), 2 * LineHeight());
    // In a single line, the line breaks show as spaces.
    const QRect single = Ink(Draw(QStringLiteral("MMM\r\nMMM"), dt::kSingleLine));
    EXPECT_EQ(single.height(), one.height());
    EXPECT_GT(single.width(), 2 * one.width());
}

TEST_F(DrawTextInRectTest, WordBreakWrapsAtTheRectangleWidth) {
    const QString words = QStringLiteral("MMMMMMMMMMMMM MMMM MMMM MMMM");
    const QRect narrow(0, 0, 80, 60);
    const QRect wrapped = Ink(Draw(words, dt::kWordBreak, narrow));
    const QRect unwrapped = Ink(Draw(words, 0, narrow));
    EXPECT_GT(wrapped.height(), 2 * LineHeight());
    EXPECT_LT(unwrapped.height(), LineHeight());
    // A word longer than the width is not broken: it runs on and is clipped, as does the
    // whole line without word break.
    EXPECT_EQ(wrapped.right(), 79);
    EXPECT_EQ(unwrapped.right(), 79);
    const QRect shortWords = Ink(Draw(QStringLiteral("MMM MMM MMM MMM"), dt::kWordBreak, narrow));
    EXPECT_LT(shortWords.right(), 79);
    EXPECT_GT(shortWords.height(), LineHeight());
}

TEST_F(DrawTextInRectTest, TabsStopEveryEightAverageCharacters) {
    const int stop = 8 * QFontMetrics(font).averageCharWidth();
    const QRect expanded = Ink(Draw(QStringLiteral("\tM"), dt::kExpandTabs));
    EXPECT_NEAR(expanded.left(), stop, 2);
    const QRect second = Ink(Draw(QStringLiteral("\t\tM"), dt::kExpandTabs));
    EXPECT_NEAR(second.left(), 2 * stop, 2);
}

TEST_F(DrawTextInRectTest, ClipsToTheRectangle) {
    const QRect rect(20, 10, 30, 8);
    const QRect ink = Ink(Draw(QStringLiteral("MMMMMMMMMMMM"), 0, rect));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(rect.contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
}

TEST_F(DrawTextInRectTest, PrefixesAreResolvedUnlessNoPrefix) {
    // "&&" shows one ampersand, like the plain text does.
    EXPECT_EQ(Draw(QStringLiteral("R&&D"), 0), Draw(QStringLiteral("R&D"), dt::kNoPrefix));
    // A mnemonic is underlined: more ink below the baseline than the plain text.
    const QRect plain = Ink(Draw(QStringLiteral("Scan"), 0));
    const QRect marked = Ink(Draw(QStringLiteral("&Scan"), 0));
    EXPECT_GT(marked.bottom(), plain.bottom());
    EXPECT_NE(Draw(QStringLiteral("&Scan"), dt::kNoPrefix), Draw(QStringLiteral("Scan"), 0));
}

TEST_F(DrawTextInRectTest, EscapementTurnsTheLineAboutItsStart) {
    const QString text = QStringLiteral("MMMM");
    const QRect flat = Ink(Draw(text, dt::kCenter));
    ASSERT_GT(flat.width(), flat.height());
    const int originX = (200 - QFontMetrics(font).horizontalAdvance(text)) / 2;
    // 270 degrees counter-clockwise: the line runs down from its start, glyph tops to the right
    // of the run, bodies to the left of the start.
    const QRect down = Ink(Draw(text, dt::kCenter, kRect, 2700));
    EXPECT_GT(down.height(), down.width());
    EXPECT_LE(down.right(), originX + 1);
    EXPECT_GE(down.left(), originX - LineHeight() - 1);
    EXPECT_GE(down.top(), 0);
    // 180 degrees: upside down, running left from the start and lying above it.
    const int originY = (60 - LineHeight()) / 2;
    const QRect turned = Ink(Draw(text, dt::kCenter | dt::kSingleLine | dt::kVCenter, kRect, 1800));
    EXPECT_GT(turned.width(), turned.height());
    EXPECT_LE(turned.right(), originX + 1);
    EXPECT_LE(turned.bottom(), originY + 1);
    // 90 degrees from the top-left corner of a rectangle: the line runs up, out of it, and the
    // clip keeps it out.
    EXPECT_TRUE(Ink(Draw(text, 0, QRect(100, 30, 100, 30), 900)).isEmpty());
    EXPECT_FALSE(Ink(Draw(text, 0, QRect(100, 30, 100, 30), 0)).isEmpty());
}

TEST_F(DrawTextInRectTest, EmptyTextOrRectangleDrawsNothing) {
    EXPECT_TRUE(Ink(Draw(QString(), 0)).isEmpty());
    EXPECT_TRUE(Ink(Draw(QStringLiteral("MMM"), 0, QRect(10, 10, 0, 20))).isEmpty());
}

}  // namespace
}  // namespace zv
