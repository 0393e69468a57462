#include "imaging/band_painter.h"

#include "imaging/still_frames.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace zv {
namespace {

struct PaintCase {
    const char* name;
    QSize frame;
    QRect band;
    QSize target;
};

class BandPainterTest : public testing::TestWithParam<PaintCase> {};

// Runs of any height, each drawn from only the frame rows the mapping names, join into the
// picture one painter draws at once onto a black target.
TEST_P(BandPainterTest, RunsJoinIntoThePictureOnePainterDrawsAtOnce) {
    const PaintCase c = GetParam();
    const QImage frame = test::FilmPicture(c.frame.width(), c.frame.height(), 20);
    const BandMapping mapping(c.frame, c.band, c.target);
    QImage expected(c.target, QImage::Format_RGB32);
    expected.fill(Qt::black);
    const QRect visible = mapping.Visible();
    QPainter reference(&expected);
    reference.setRenderHint(QPainter::SmoothPixmapTransform);
    reference.drawImage(mapping.TargetRect({visible.top(), visible.bottom() + 1}), frame,
                        QRectF(visible));
    reference.end();

    for (int runRows : {32, 7, 1}) {
        BandPainter painter(mapping, frame.constBits(), frame.bytesPerLine(), frame.width(),
                            runRows);
        QImage target(c.target, QImage::Format_RGB32);
        for (int top = 0; top < target.height(); top += runRows) {
            const int rows = std::min(runRows, target.height() - top);
            QPainter(&target).drawImage(QPoint(0, top), painter.Paint(top, rows),
                                        QRect(0, 0, target.width(), rows));
        }
        EXPECT_LE(test::MaxChannelDifference(target, expected), 1) << runRows << " rows a run";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Geometries, BandPainterTest,
    testing::Values(PaintCase{"halved", {648, 486}, {0, 27, 648, 432}, {324, 216}},
                    PaintCase{"four_three_to_three_two", {400, 300}, {0, 17, 400, 266}, {290, 193}},
                    PaintCase{"square_enlarged", {150, 150}, {0, 0, 150, 150}, {299, 299}},
                    PaintCase{"square_stretched", {300, 300}, {0, 0, 300, 300}, {259, 172}},
                    PaintCase{"nearly_unscaled", {300, 300}, {0, 0, 300, 300}, {299, 299}},
                    PaintCase{"wide_frame", {400, 200}, {0, -33, 400, 266}, {300, 200}},
                    PaintCase{
                        "frame_smaller_than_format", {200, 150}, {0, 0, 400, 300}, {200, 150}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace zv
