#include "imaging/band_painter.h"

#include "imaging/still_frames.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace zv {
namespace {

int MaxChannelDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return worst;
}

bool RowIs(const QImage& image, int y, QRgb colour) {
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) != colour) {
            return false;
        }
    }
    return true;
}

// What one painter drawing the band at once gives: the striped drawing must not differ from it.
QImage PaintedAtOnce(const QImage& source, const QRect& band, QSize size) {
    QImage expected(size, QImage::Format_RGB32);
    QPainter painter(&expected);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(size)), source, QRectF(band));
    return expected;
}

struct ScaleCase {
    QSize source;
    QRect band;
    QSize target;
};

class BandPainterScaleTest : public testing::TestWithParam<ScaleCase> {};

TEST_P(BandPainterScaleTest, StripesJoinWithoutSeams) {
    const ScaleCase c = GetParam();
    const QImage source = test::FilmPicture(c.source.width(), c.source.height(), 20);
    QImage target;
    ASSERT_EQ(BandPainter::Paint(source, c.band, c.target, &target), kOk);
    ASSERT_EQ(target.size(), c.target);
    EXPECT_LE(MaxChannelDifference(target, PaintedAtOnce(source, c.band, c.target)), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BandPainterScaleTest,
    testing::Values(ScaleCase{{2000, 1500}, {0, 83, 2000, 1334}, {1296, 864}},  // 4:3 -> 3:2
                    ScaleCase{{1200, 1200}, {0, 0, 1200, 1200}, {1497, 1497}},  // 126, enlarged
                    ScaleCase{{1500, 1500}, {0, 0, 1500, 1500}, {1296, 864}},   // square to 3:2
                    ScaleCase{{64, 48}, {0, 2, 64, 43}, {30, 20}}));            // one stripe

TEST(BandPainterTest, BandOfTheTargetsSizeIsTheFramesOwnRows) {
    const QImage source = test::FilmPicture(300, 240, 20);
    QImage target;
    ASSERT_EQ(BandPainter::Paint(source, QRect(0, 20, 300, 200), QSize(300, 200), &target), kOk);
    ASSERT_EQ(target.size(), QSize(300, 200));
    EXPECT_EQ(target, source.copy(0, 20, 300, 200));
}

TEST(BandPainterTest, BandRowsBeyondTheFrameAreBlack) {
    QImage source(400, 200, QImage::Format_RGB32);
    source.fill(qRgb(250, 250, 250));
    QImage target;
    // A 2:1 frame into a 3:2 target: the band is 33 rows taller than the frame at each end.
    ASSERT_EQ(BandPainter::Paint(source, QRect(0, -33, 400, 266), QSize(300, 200), &target), kOk);
    const QRgb black = qRgb(0, 0, 0);
    for (int y = 0; y < 24; ++y) {
        EXPECT_TRUE(RowIs(target, y, black)) << "row " << y;
        EXPECT_TRUE(RowIs(target, 199 - y, black)) << "row " << 199 - y;
    }
    for (int y = 26; y < 174; ++y) {
        EXPECT_TRUE(RowIs(target, y, qRgb(250, 250, 250))) << "row " << y;
    }
}

TEST(BandPainterTest, FrameSmallerThanItsFormatFillsOnlyItsPart) {
    QImage source(200, 150, QImage::Format_RGB32);
    source.fill(qRgb(250, 250, 250));
    QImage target;
    // Declared 400 x 300, delivered 200 x 150: the frame covers the top-left of the band.
    ASSERT_EQ(BandPainter::Paint(source, QRect(0, 0, 400, 300), QSize(200, 150), &target), kOk);
    EXPECT_EQ(target.pixel(50, 30), qRgb(250, 250, 250));
    EXPECT_EQ(target.pixel(150, 30), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(50, 100), qRgb(0, 0, 0));
}

TEST(BandPainterTest, NothingToDrawIsAnError) {
    const QImage source = test::FilmPicture(100, 100);
    QImage target;
    EXPECT_EQ(BandPainter::Paint(source, QRect(0, 0, 0, 0), QSize(30, 20), &target), kInvalidArg);
    EXPECT_EQ(BandPainter::Paint(source, QRect(0, 100, 100, 50), QSize(30, 20), &target),
              kInvalidArg);
    EXPECT_EQ(BandPainter::Paint(source, QRect(0, 0, 100, 100), QSize(0, 20), &target),
              kInvalidArg);
    EXPECT_EQ(BandPainter::Paint(QImage(), QRect(0, 0, 100, 100), QSize(30, 20), &target),
              kInvalidArg);
    EXPECT_TRUE(target.isNull());
}

}  // namespace
}  // namespace zv
