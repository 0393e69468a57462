#include "controls/log_font.h"

#include "controls/print_log_font.h"

#include <QFont>
#include <QFontMetricsF>

#include <gtest/gtest.h>
#include <limits>

namespace zv {
namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

struct MulDivCase {
    int a, b, c, expected;
};

class MulDivTest : public testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivTest, RoundsHalvesAwayFromZeroAndFailsWithMinusOne) {
    const MulDivCase& test = GetParam();
    EXPECT_EQ(MulDiv(test.a, test.b, test.c), test.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, MulDivTest,
                         testing::Values(MulDivCase{96, 200, 720, 27},   // 26.67
                                         MulDivCase{96, 320, 720, 43},   // 42.67
                                         MulDivCase{96, 80, 720, 11},    // 10.67
                                         MulDivCase{1, 1, 2, 1},         // 0.5 up
                                         MulDivCase{-1, 1, 2, -1},       // -0.5 down
                                         MulDivCase{1, 1, -2, -1},       // negative divisor
                                         MulDivCase{1, 1, 3, 0},         // 0.33
                                         MulDivCase{5, 0, 7, 0},         // zero product
                                         MulDivCase{7, 9, 0, -1},        // no divisor
                                         MulDivCase{kIntMax, 2, 1, -1},  // too large
                                         MulDivCase{kIntMax, kIntMax, kIntMax, kIntMax},
                                         MulDivCase{kIntMin, 1, 1, kIntMin}));

struct PointCase {
    int dpi, points, expected;
};

class PointFontHeightTest : public testing::TestWithParam<PointCase> {};

TEST_P(PointFontHeightTest, IsMinusTheScreenPixelsOfTheSize) {
    const PointCase& test = GetParam();
    EXPECT_EQ(PointFontHeight(test.dpi, test.points), test.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PointFontHeightTest,
    testing::Values(PointCase{96, 20, -27}, PointCase{96, 32, -43}, PointCase{96, 8, -11},
                    PointCase{120, 20, -33}, PointCase{144, 9, -18}, PointCase{96, 0, 0},
                    // A negative size gives a positive (cell) height, as the formula does.
                    PointCase{96, -20, 27},
                    // Sizes whose tenths or products leave 32 bits saturate instead of wrapping.
                    PointCase{96, kIntMax, -kIntMax}, PointCase{96, kIntMin, kIntMax},
                    PointCase{kIntMax, kIntMax, -kIntMax}, PointCase{kIntMin, kIntMax, kIntMax}));

TEST(FaceNameWithinLimitTest, CutsAtThirtyOneCodeUnitsWithoutSplittingAPair) {
    EXPECT_EQ(FaceNameWithinLimit(QString()), QString());
    const QString exact(31, QLatin1Char('a'));
    EXPECT_EQ(FaceNameWithinLimit(exact), exact);
    EXPECT_EQ(FaceNameWithinLimit(exact + QStringLiteral("bcd")), exact);
    // A pair at code units 31 and 32 (positions 30 and 31) is dropped whole.
    const QString pair = QString::fromUcs4(U"\U0001F39E");
    ASSERT_EQ(pair.size(), 2);
    const QString thirty(30, QLatin1Char('x'));
    EXPECT_EQ(FaceNameWithinLimit(thirty + pair), thirty);
    // A pair that ends exactly at the limit stays.
    const QString twentyNine(29, QLatin1Char('x'));
    EXPECT_EQ(FaceNameWithinLimit(twentyNine + pair + QStringLiteral("z")), twentyNine + pair);
}

TEST(LogFontFromQFontTest, DescribesPixelAndPointFonts) {
    QFont pixels(QStringLiteral("DejaVu Sans"));
    pixels.setPixelSize(13);
    pixels.setWeight(QFont::Bold);
    pixels.setItalic(true);
    LogFont description = LogFontFromQFont(pixels, 96);
    EXPECT_EQ(description.height, -13);
    EXPECT_EQ(description.weight, 700);
    EXPECT_EQ(description.italic, 1);
    EXPECT_EQ(description.underline, 0);
    EXPECT_EQ(description.faceName, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(description.escapement, 0);
    EXPECT_EQ(description.width, 0);

    QFont points(QStringLiteral("DejaVu Sans"));
    points.setPointSize(8);
    points.setUnderline(true);
    points.setStrikeOut(true);
    description = LogFontFromQFont(points, 96);
    EXPECT_EQ(description.height, -11);  // 8 pt at 96 dpi: 10.67 pixels
    EXPECT_EQ(description.weight, 400);
    EXPECT_EQ(description.underline, 1);
    EXPECT_EQ(description.strikeOut, 1);
    EXPECT_EQ(LogFontFromQFont(points, 144).height, -16);

    QFont longFace(QString(40, QLatin1Char('F')));
    EXPECT_EQ(LogFontFromQFont(longFace, 96).faceName.size(), LogFont::kMaxFaceName);
}

TEST(QFontFromLogFontTest, DescriptionRoundTripsThroughTheFont) {
    QFont base(QStringLiteral("DejaVu Serif"));
    base.setPixelSize(9);
    for (const LogFont& description : {
             LogFont{-27, 0, 0, 0, 700, 0, 0, 0, 1, QStringLiteral("DejaVu Sans")},
             LogFont{-43, 0, 0, 0, 400, 1, 1, 0, 1, QStringLiteral("DejaVu Sans Mono")},
             LogFont{-8, 0, 0, 0, 300, 0, 0, 1, 1, QStringLiteral("DejaVu Serif")},
         }) {
        SCOPED_TRACE(description.faceName.toStdString());
        const QFont font = QFontFromLogFont(description, base);
        EXPECT_EQ(font.pixelSize(), -description.height);
        EXPECT_EQ(LogFontFromQFont(font, 96), description);
    }
}

TEST(QFontFromLogFontTest, LeavesWhatTheDescriptionLeavesOpenToTheBase) {
    QFont base(QStringLiteral("DejaVu Serif"));
    base.setPixelSize(17);
    LogFont open;
    open.weight = 0;  // "don't care" draws normal
    const QFont font = QFontFromLogFont(open, base);
    EXPECT_EQ(font.family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(font.pixelSize(), 17);
    EXPECT_EQ(font.weight(), QFont::Normal);
}

TEST(QFontFromLogFontTest, PositiveHeightIsTheCellHeight) {
    LogFont description;
    description.faceName = QStringLiteral("DejaVu Sans");
    description.height = 40;
    const QFont font = QFontFromLogFont(description, QFont());
    EXPECT_LT(font.pixelSize(), 40);
    EXPECT_NEAR(QFontMetricsF(font).height(), 40.0, 2.0);
}

TEST(QFontFromLogFontTest, ExtremeValuesAreHeldToWhatAFontCanDraw) {
    LogFont description;
    description.faceName = QStringLiteral("DejaVu Sans");
    for (int height : {kIntMin, -kIntMax, -1000000, 50000, kIntMax}) {
        SCOPED_TRACE(height);
        description.height = height;
        const QFont font = QFontFromLogFont(description, QFont());
        EXPECT_GT(font.pixelSize(), 0);
        EXPECT_LE(font.pixelSize(), kMaxFontPixelSize);
        EXPECT_GT(QFontMetricsF(font).height(), 0.0);
    }
    description.height = -20;
    description.weight = 5000;
    EXPECT_EQ(QFontFromLogFont(description, QFont()).weight(), 1000);
    description.weight = -3;
    EXPECT_EQ(QFontFromLogFont(description, QFont()).weight(), QFont::Normal);
}

TEST(QFontFromLogFontTest, WidthBecomesAStretchOfTheAverageCharacter) {
    LogFont description;
    description.faceName = QStringLiteral("DejaVu Sans");
    description.height = -20;
    const qreal natural = QFontMetricsF(QFontFromLogFont(description, QFont())).averageCharWidth();
    description.width = qRound(natural * 2);
    const QFont wide = QFontFromLogFont(description, QFont());
    EXPECT_NEAR(wide.stretch(), 200, 10);
    EXPECT_GT(QFontMetricsF(wide).averageCharWidth(), natural * 1.5);
}

}  // namespace
}  // namespace zv
