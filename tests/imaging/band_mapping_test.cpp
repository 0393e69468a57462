#include "imaging/band_mapping.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

using Rows = BandMapping::Rows;

TEST(BandMappingTest, FourThreeFrameHalvedReadsTwoRowsPerTargetRowPlusMargins) {
    // 5184 x 3888 into 2592 x 1728: band y 216, height 3456, scale 1/2.
    const BandMapping mapping({5184, 3888}, QRect(0, 216, 5184, 3456), {2592, 1728});
    EXPECT_TRUE(mapping.IsCovered());
    EXPECT_FALSE(mapping.IsUnscaled());
    // Target row 0 reads frame rows 216.5 +- 0.5; rows 31 reads 278.5 +- 0.5; two rows margin,
    // never above the band's first row.
    EXPECT_EQ(mapping.SourceRows(0, 32), (Rows{216, 282}));
    EXPECT_EQ(mapping.SourceRows(32, 64), (Rows{278, 346}));
    // The last run stops at the band's last row.
    EXPECT_EQ(mapping.SourceRows(1696, 1728), (Rows{3606, 3672}));
    EXPECT_EQ(mapping.TargetRect({216, 282}), QRectF(0, 0, 2592, 33));
}

TEST(BandMappingTest, BandOfTheTargetsSizeInsideTheFrameIsUnscaled) {
    const BandMapping mapping({5184, 3888}, QRect(0, 216, 5184, 3456), {5184, 3456});
    EXPECT_TRUE(mapping.IsUnscaled());
    EXPECT_EQ(mapping.BandTop(), 216);
    EXPECT_FALSE(BandMapping({5184, 3456}, QRect(0, -10, 5184, 3476), {5184, 3476}).IsUnscaled());
}

TEST(BandMappingTest, RowsAboveAndBelowAWideFrameReadNothing) {
    // 400 x 200 into 300 x 200: band y -33, height 266; the frame shows on target rows 24.8 to
    // 175.2.
    const BandMapping mapping({400, 200}, QRect(0, -33, 400, 266), {300, 200});
    EXPECT_FALSE(mapping.IsCovered());
    EXPECT_EQ(mapping.Visible(), QRect(0, 0, 400, 200));
    EXPECT_TRUE(mapping.SourceRows(0, 20).IsEmpty());
    EXPECT_EQ(mapping.SourceRows(0, 30), (Rows{0, 9}));
    EXPECT_TRUE(mapping.SourceRows(180, 200).IsEmpty());
    EXPECT_EQ(mapping.SourceRows(170, 200), (Rows{191, 200}));
    const QRectF whole = mapping.TargetRect({0, 200});
    EXPECT_NEAR(whole.top(), 24.81, 0.01);
    EXPECT_NEAR(whole.bottom(), 175.19, 0.01);
}

TEST(BandMappingTest, FrameSmallerThanItsFormatIsVisibleInItsCorner) {
    const BandMapping mapping({200, 150}, QRect(0, 0, 400, 300), {200, 150});
    EXPECT_EQ(mapping.Visible(), QRect(0, 0, 200, 150));
    EXPECT_EQ(mapping.TargetRect({0, 150}), QRectF(0, 0, 100, 75));
    EXPECT_TRUE(mapping.SourceRows(80, 150).IsEmpty());
}

TEST(BandMappingTest, BandOutsideTheFrameOrEmptyTargetIsEmpty) {
    EXPECT_TRUE(BandMapping({100, 100}, QRect(0, 100, 100, 50), {30, 20}).IsEmpty());
    EXPECT_TRUE(BandMapping({100, 100}, QRect(0, 0, 0, 0), {30, 20}).IsEmpty());
    EXPECT_TRUE(BandMapping({100, 100}, QRect(0, 0, 100, 100), {0, 20}).IsEmpty());
    EXPECT_TRUE(BandMapping({0, 0}, QRect(0, 0, 100, 100), {30, 20}).IsEmpty());
}

}  // namespace
}  // namespace zv
