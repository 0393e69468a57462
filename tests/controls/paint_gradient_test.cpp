#include "controls/paint_gradient.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace zv {
namespace {

constexpr QRgb kUntouched = 0xFF123456;

// The gradient painted into a 300 x 20 image pre-filled with kUntouched.
QImage Painted(const QRect& rect, ColorRef from, ColorRef to) {
    QImage image(300, 20, QImage::Format_RGB32);
    image.fill(kUntouched);
    QPainter painter(&image);
    PaintGradient(painter, rect, from, to);
    return image;
}

int RedAt(const QImage& image, int x, int y = 10) {
    return qRed(image.pixel(x, y));
}

// Columns [first, last] of `image` all carry `colour` on every row of `rect`.
void ExpectBand(const QImage& image, const QRect& rect, int first, int last, QRgb colour) {
    for (int x = first; x <= last; ++x) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            ASSERT_EQ(image.pixel(x, y), colour | 0xFF000000u) << "x " << x << " y " << y;
        }
    }
}

struct BandCase {
    const char* name;
    QRect rect;
    ColorRef from;
    ColorRef to;
    int firstColumn;  // of the band checked
    int lastColumn;
    QRgb colour;
};

class GradientBandTest : public testing::TestWithParam<BandCase> {};

TEST_P(GradientBandTest, BandHasItsColumnsAndColour) {
    const BandCase& test = GetParam();
    const QImage image = Painted(test.rect, test.from, test.to);
    ExpectBand(image, test.rect, test.firstColumn, test.lastColumn, test.colour);
}

// 250 px, black to red: 100 bands of 2 px, red step 65280 / 100 = 652, so band i has red
// (i x 652) / 256; the last band (red 252) runs from x = 198 to the right edge.
// 50 px: 50 bands of 1 px, step 1305. Red to black: step -652, last band red 2.
INSTANTIATE_TEST_SUITE_P(
    Table, GradientBandTest,
    testing::Values(
        BandCase{"first", QRect(0, 0, 250, 20), Rgb(0, 0, 0), Rgb(255, 0, 0), 0, 1, 0x000000},
        BandCase{"second", QRect(0, 0, 250, 20), Rgb(0, 0, 0), Rgb(255, 0, 0), 2, 3, 0x020000},
        BandCase{"band 98", QRect(0, 0, 250, 20), Rgb(0, 0, 0), Rgb(255, 0, 0), 196, 197,
                 0xF90000},  // 98 x 652 / 256 = 249.6
        BandCase{"last", QRect(0, 0, 250, 20), Rgb(0, 0, 0), Rgb(255, 0, 0), 198, 249, 0xFC0000},
        BandCase{"narrow first", QRect(0, 0, 50, 20), Rgb(0, 0, 0), Rgb(255, 0, 0), 0, 0, 0x000000},
        BandCase{"narrow second", QRect(0, 0, 50, 20), Rgb(0, 0, 0), Rgb(255, 0, 0), 1, 1,
                 0x050000},  // 1305 / 256
        BandCase{"narrow last", QRect(0, 0, 50, 20), Rgb(0, 0, 0), Rgb(255, 0, 0), 49, 49,
                 0xF90000},  // 49 x 1305 / 256 = 249.8
        BandCase{"falling first", QRect(0, 0, 100, 20), Rgb(255, 0, 0), Rgb(0, 0, 0), 0, 0,
                 0xFF0000},
        BandCase{"falling second", QRect(0, 0, 100, 20), Rgb(255, 0, 0), Rgb(0, 0, 0), 1, 1,
                 0xFC0000},  // (65280 - 652) / 256 = 252.4
        BandCase{"falling last", QRect(0, 0, 100, 20), Rgb(255, 0, 0), Rgb(0, 0, 0), 99, 99,
                 0x020000},  // 65280 - 99 x 652 = 732
        // Every channel on its own; BGR colour references, RGB pixels.
        BandCase{"channels first", QRect(0, 0, 7, 20), Rgb(10, 200, 30), Rgb(17, 193, 100), 0, 0,
                 0x0AC81E},
        BandCase{"channels last", QRect(0, 0, 7, 20), Rgb(10, 200, 30), Rgb(17, 193, 100), 6, 6,
                 0x10C25A},  // steps 256, -256, 2560: 10+6, 200-6, 30+60
        // An offset rectangle: bands count from its left edge.
        BandCase{"offset last", QRect(40, 5, 250, 10), Rgb(0, 0, 0), Rgb(255, 0, 0), 238, 289,
                 0xFC0000},
        // 150 px: 100 bands of 1 px, the last one 51 px wide.
        BandCase{"uneven last", QRect(0, 0, 150, 20), Rgb(0, 0, 0), Rgb(0, 0, 255), 99, 149,
                 0x0000FC}),
    [](const testing::TestParamInfo<BandCase>& caseInfo) {
        std::string name = caseInfo.param.name;
        for (char& c : name) {
            if (c == ' ') {
                c = '_';
            }
        }
        return name;
    });

TEST(PaintGradientTest, EveryColumnOfA250PixelGradientBelongsToItsBand) {
    const QImage image = Painted(QRect(0, 0, 250, 20), Rgb(0, 0, 0), Rgb(255, 0, 0));
    for (int x = 0; x < 250; ++x) {
        const int band = std::min(x / 2, 99);
        EXPECT_EQ(RedAt(image, x), band * 652 / 256) << "x " << x;
    }
}

TEST(PaintGradientTest, PaintsNothingOutsideItsRectangle) {
    const QRect rect(40, 5, 250, 10);
    const QImage image = Painted(rect, Rgb(0, 0, 0), Rgb(255, 0, 0));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!rect.contains(x, y)) {
                ASSERT_EQ(image.pixel(x, y), kUntouched) << "x " << x << " y " << y;
            }
        }
    }
}

TEST(PaintGradientTest, ZeroOrNegativeWidthPaintsNoBand) {
    for (const QRect& rect : {QRect(10, 0, 0, 20), QRect(QPoint(10, 0), QPoint(5, 19))}) {
        const QImage image = Painted(rect, Rgb(0, 0, 0), Rgb(255, 0, 0));
        for (int x = 0; x < image.width(); ++x) {
            ASSERT_EQ(image.pixel(x, 10), kUntouched) << "x " << x;
        }
    }
}

TEST(PaintGradientTest, OnePixelIsTheStartColour) {
    const QImage image = Painted(QRect(3, 0, 1, 20), Rgb(9, 8, 7), Rgb(255, 255, 255));
    EXPECT_EQ(image.pixel(3, 10), qRgb(9, 8, 7));
    EXPECT_EQ(image.pixel(4, 10), kUntouched);
}

}  // namespace
}  // namespace zv
