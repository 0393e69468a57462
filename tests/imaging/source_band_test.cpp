#include "imaging/source_band.h"

#include <gtest/gtest.h>
#include <limits>

namespace zv {
namespace {

struct BandCase {
    std::int32_t sourceWidth;
    std::int32_t sourceHeight;
    std::int32_t targetWidth;
    std::int32_t targetHeight;
    std::int32_t y;
    std::int32_t height;
};

class SourceBandTest : public testing::TestWithParam<BandCase> {};

TEST_P(SourceBandTest, CutsTheMiddleOfTheFrameToTheTargetShape) {
    const BandCase c = GetParam();
    const std::optional<SourceBand> band =
        SourceBand::Of(c.sourceWidth, c.sourceHeight, c.targetWidth, c.targetHeight);
    ASSERT_TRUE(band.has_value());
    EXPECT_EQ(*band, (SourceBand{c.y, c.height}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SourceBandTest,
    testing::Values(
        // 135 film stills, 4:3 frames into 3:2 targets: 216 rows off the top and the bottom.
        BandCase{5184, 3888, 2592, 1728, 216, 3456}, BandCase{5184, 3888, 5184, 3456, 216, 3456},
        BandCase{4000, 3000, 2592, 1728, 167, 2666},
        // 126 film: a square frame is used whole, also when stretched to 3:2.
        BandCase{2995, 2995, 2995, 2995, 0, 2995}, BandCase{3000, 3000, 2592, 1728, 0, 3000},
        BandCase{3000, 3000, 1497, 1497, 0, 3000},
        // Same size and shape: the whole frame, unscaled.
        BandCase{5184, 3456, 5184, 3456, 0, 3456},
        // A frame wider than the target's shape reaches beyond its top and bottom.
        BandCase{5184, 3888, 1497, 1497, -648, 5184}, BandCase{400, 200, 300, 200, -33, 266},
        // Divisions truncate toward zero: -67 / 2 is -33, not -34.
        BandCase{401, 200, 300, 200, -33, 266},
        // An odd difference loses its last row: (3001 - 2666) / 2 = 167, 3001 - 334 = 2667.
        BandCase{4000, 3001, 2592, 1728, 167, 2667},
        // No still format known: an empty band.
        BandCase{0, 0, 2592, 1728, 0, 0}, BandCase{0, 100, 1497, 1497, 50, 0}));

TEST(SourceBandLimitsTest, TargetsThatAreNotPositiveHaveNoBand) {
    EXPECT_FALSE(SourceBand::Of(5184, 3888, 0, 1728));
    EXPECT_FALSE(SourceBand::Of(5184, 3888, 2592, 0));
    EXPECT_FALSE(SourceBand::Of(5184, 3888, -2592, 1728));
}

TEST(SourceBandLimitsTest, NegativeSourcesHaveNoBand) {
    EXPECT_FALSE(SourceBand::Of(-5184, 3888, 2592, 1728));
    EXPECT_FALSE(SourceBand::Of(5184, -3888, 2592, 1728));
}

TEST(SourceBandLimitsTest, SizesWhoseBandLeavesThirtyTwoBitsHaveNoBand) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_FALSE(SourceBand::Of(kMax, 1, 1, kMax));
    // The product leaves 32 bits but the band does not: still exact.
    EXPECT_EQ(SourceBand::Of(65536, 65535, 65536, 65536), (SourceBand{0, 65535}));
}

}  // namespace
}  // namespace zv
