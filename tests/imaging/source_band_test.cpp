#include "imaging/source_band.h"

#include <gtest/gtest.h>
#include <limits>

namespace zv {
namespace {

struct BandCase {
    std::int32_t sourceWidth, sourceHeight, targetWidth, targetHeight;
    std::optional<SourceBand> band;
};

class SourceBandTest : public testing::TestWithParam<BandCase> {};

TEST_P(SourceBandTest, CutsTheMiddleOfTheFrameToTheTargetShape) {
    const BandCase c = GetParam();
    EXPECT_EQ(SourceBand::Of(c.sourceWidth, c.sourceHeight, c.targetWidth, c.targetHeight), c.band);
}

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Table, SourceBandTest,
    testing::Values(
        // 135 film: 4:3 frames into 3:2 targets lose 216 rows at the top and the bottom.
        BandCase{5184, 3888, 2592, 1728, SourceBand{216, 3456}},
        BandCase{5184, 3888, 5184, 3456, SourceBand{216, 3456}},
        BandCase{4000, 3000, 2592, 1728, SourceBand{167, 2666}},
        // 126 film: a square frame is used whole, also stretched to 3:2.
        BandCase{2995, 2995, 2995, 2995, SourceBand{0, 2995}},
        BandCase{3000, 3000, 2592, 1728, SourceBand{0, 3000}},
        BandCase{3000, 3000, 1497, 1497, SourceBand{0, 3000}},
        BandCase{5184, 3456, 5184, 3456, SourceBand{0, 3456}},
        // An odd difference loses its last row: (3001 - 2666) / 2 = 167, 3001 - 334 = 2667.
        BandCase{4000, 3001, 2592, 1728, SourceBand{167, 2667}},
        // A frame wider than the target's shape: negative offset, truncated toward zero
        // (-67 / 2 is -33, not -34).
        BandCase{5184, 3888, 1497, 1497, SourceBand{-648, 5184}},
        BandCase{401, 200, 300, 200, SourceBand{-33, 266}},
        // No still format known: an empty band.
        BandCase{0, 0, 2592, 1728, SourceBand{0, 0}},
        BandCase{0, 100, 1497, 1497, SourceBand{50, 0}},
        // The product is formed in 64 bits.
        BandCase{65536, 65535, 65536, 65536, SourceBand{0, 65535}},
        // No band: targets that are not positive, negative sources, bands beyond 32 bits.
        BandCase{5184, 3888, 0, 1728, std::nullopt}, BandCase{5184, 3888, 2592, -1, std::nullopt},
        BandCase{-5184, 3888, 2592, 1728, std::nullopt},
        BandCase{5184, -3888, 2592, 1728, std::nullopt}, BandCase{kMax, 1, 1, kMax, std::nullopt}));

}  // namespace
}  // namespace zv
