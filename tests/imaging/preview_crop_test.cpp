#include "imaging/preview_crop.h"

#include <gtest/gtest.h>
#include <string>

namespace zv {
namespace {

struct CropCase {
    const char* name;
    QSize preview;
    QSize still;
    QSize target;
    QRectF kept;  // empty: no frame to show
};

std::ostream& operator<<(std::ostream& out, const CropCase& c) {
    return out << c.name;
}

class PreviewCropTable : public testing::TestWithParam<CropCase> {};

TEST_P(PreviewCropTable, KeepsTheBandTheWriterCuts) {
    const CropCase& c = GetParam();
    const QRectF kept = PreviewCrop(c.preview, c.still, c.target);
    if (c.kept.isEmpty()) {
        EXPECT_TRUE(kept.isEmpty())
            << kept.x() << "," << kept.y() << " " << kept.width() << "x" << kept.height();
        return;
    }
    EXPECT_NEAR(kept.x(), c.kept.x(), 1e-3);
    EXPECT_NEAR(kept.y(), c.kept.y(), 1e-3);
    EXPECT_NEAR(kept.width(), c.kept.width(), 1e-3);
    EXPECT_NEAR(kept.height(), c.kept.height(), 1e-3);
}

// The still's band is whole rows: 5184 x 3888 keeps rows 216..3671 for any 3:2 target, which are
// 960 / 3888 of a row each in the preview.
INSTANTIATE_TEST_SUITE_P(
    FilmSizes, PreviewCropTable,
    testing::Values(
        CropCase{"Film135Low",
                 {1280, 960},
                 {5184, 3888},
                 {2592, 1728},
                 {0, 216 * 960.0 / 3888, 1280, 3456 * 960.0 / 3888}},
        CropCase{"Film135High",
                 {1280, 960},
                 {5184, 3888},
                 {5184, 3456},
                 {0, 216 * 960.0 / 3888, 1280, 3456 * 960.0 / 3888}},
        CropCase{"Film135BenchSizes",
                 {640, 480},
                 {2592, 1944},
                 {2592, 1728},
                 {0, 108 * 480.0 / 1944, 640, 1728 * 480.0 / 1944}},
        // 4000 * 1728 / 2592 = 2666 rows at offset 167: rounded in the still's rows, as written.
        CropCase{"Film135FromA4To3StillOfOddSize",
                 {640, 480},
                 {4000, 3000},
                 {2592, 1728},
                 {0, 167 * 0.16, 640, 2666 * 0.16}},
        CropCase{"Film126Low", {720, 720}, {3000, 3000}, {1497, 1497}, {0, 0, 720, 720}},
        CropCase{"Film126High", {720, 720}, {3000, 3000}, {2995, 2995}, {0, 0, 720, 720}},
        // A square frame is used whole even for a 3:2 target (stretched).
        CropCase{"SquareStillInto135", {720, 720}, {3000, 3000}, {2592, 1728}, {0, 0, 720, 720}},
        // A frame wider than 3:2: the band reaches beyond it, the whole frame is kept.
        CropCase{"WideStill", {1280, 720}, {1920, 1080}, {2592, 1728}, {0, 0, 1280, 720}},
        CropCase{"NoStillFormatYet", {1280, 960}, {0, 0}, {2592, 1728}, {}},
        CropCase{"NoOutputSize", {1280, 960}, {5184, 3888}, {0, 0}, {}},
        CropCase{"NoPreview", {0, 0}, {5184, 3888}, {2592, 1728}, {}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace zv
