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

// What the writer promises: one painter drawing the visible part of the band onto a black target
// at once.
QImage PaintedAtOnce(const QImage& frame, const BandMapping& mapping) {
    QImage expected(mapping.Target(), QImage::Format_RGB32);
    expected.fill(Qt::black);
    const QRect visible = mapping.Visible();
    QPainter painter(&expected);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(mapping.TargetRect({visible.top(), visible.bottom() + 1}), frame,
                      QRectF(visible));
    return expected;
}

// Draws the target in runs of `runRows` rows, each into a scratch picture of its own that starts
// out white, the way the writer's helper does.
QImage PaintedInRuns(const QImage& frame, const BandMapping& mapping, int runRows) {
    QImage target(mapping.Target(), QImage::Format_RGB32);
    const BandPainter painter(mapping, frame.constBits(), frame.bytesPerLine(), frame.width());
    for (int top = 0; top < target.height(); top += runRows) {
        QImage run(target.width(), std::min(runRows, target.height() - top), QImage::Format_RGB32);
        run.fill(Qt::white);
        painter.Paint(top, &run);
        QPainter(&target).drawImage(0, top, run);
    }
    return target;
}

struct PaintCase {
    const char* name;
    QSize frame;
    QRect band;
    QSize target;
};

class BandPainterTest : public testing::TestWithParam<PaintCase> {};

TEST_P(BandPainterTest, RunsJoinIntoThePictureOnePainterDrawsAtOnce) {
    const PaintCase c = GetParam();
    const QImage frame = test::FilmPicture(c.frame.width(), c.frame.height(), 20);
    const BandMapping mapping(c.frame, c.band, c.target);
    const QImage expected = PaintedAtOnce(frame, mapping);
    for (int runRows : {32, 7, 1}) {
        EXPECT_LE(MaxChannelDifference(PaintedInRuns(frame, mapping, runRows), expected), 1)
            << runRows << " rows a run";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Geometries, BandPainterTest,
    testing::Values(PaintCase{"four_three_halved", {648, 486}, {0, 27, 648, 432}, {324, 216}},
                    PaintCase{"four_three_to_three_two", {400, 300}, {0, 17, 400, 266}, {290, 193}},
                    PaintCase{"square_enlarged", {150, 150}, {0, 0, 150, 150}, {299, 299}},
                    PaintCase{"square_stretched", {300, 300}, {0, 0, 300, 300}, {259, 172}},
                    PaintCase{"nearly_unscaled", {300, 300}, {0, 0, 300, 300}, {299, 299}},
                    PaintCase{"wide_frame_black_rows", {400, 200}, {0, -33, 400, 266}, {300, 200}},
                    PaintCase{
                        "frame_smaller_than_format", {200, 150}, {0, 0, 400, 300}, {200, 150}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(BandPainterRowsTest, RowsBeyondTheFrameAreBlackAndTheFrameKeepsItsColour) {
    QImage frame(400, 200, QImage::Format_RGB32);
    frame.fill(qRgb(250, 250, 250));
    const BandMapping mapping(frame.size(), QRect(0, -33, 400, 266), {300, 200});
    const QImage target = PaintedInRuns(frame, mapping, 32);
    for (int y = 0; y < 200; ++y) {
        // The frame covers target rows 24.8 to 175.2: rows whose centres lie inside.
        const QRgb expected = y >= 25 && y <= 174 ? qRgb(250, 250, 250) : qRgb(0, 0, 0);
        for (int x = 0; x < 300; x += 13) {
            ASSERT_EQ(target.pixel(x, y), expected) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace zv
