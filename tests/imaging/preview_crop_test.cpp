#include "imaging/preview_crop.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

TEST(PreviewCrop, KeepsTheBandTheWriterCutsForEachFilmSize) {
    struct Case {
        const char* name;
        QSize preview;
        QSize still;
        QSize target;
        QRectF kept;  // empty: no frame to show
    };
    const Case cases[] = {
        // Rows 216..3671 of 3888, at 960 / 3888 preview rows a row.
        {"135 low", {1280, 960}, {5184, 3888}, {2592, 1728}, {0, 53.3333, 1280, 853.3333}},
        {"135 high", {1280, 960}, {5184, 3888}, {5184, 3456}, {0, 53.3333, 1280, 853.3333}},
        // Rows 108..1835 of 1944.
        {"135 bench sizes", {640, 480}, {2592, 1944}, {2592, 1728}, {0, 26.6667, 640, 426.6667}},
        // 4000 * 1728 / 2592 = 2666 rows at offset 167: rounded in the still's rows, as written.
        {"135 odd still", {640, 480}, {4000, 3000}, {2592, 1728}, {0, 26.72, 640, 426.56}},
        {"126 low", {720, 720}, {3000, 3000}, {1497, 1497}, {0, 0, 720, 720}},
        {"126 high", {720, 720}, {3000, 3000}, {2995, 2995}, {0, 0, 720, 720}},
        // A square frame is used whole even for a 3:2 target (stretched).
        {"square still into 135", {720, 720}, {3000, 3000}, {2592, 1728}, {0, 0, 720, 720}},
        // A frame wider than 3:2: the band reaches beyond it, the whole frame is kept.
        {"wide still", {1280, 720}, {1920, 1080}, {2592, 1728}, {0, 0, 1280, 720}},
        {"no still format yet", {1280, 960}, {0, 0}, {2592, 1728}, {}},
        {"no output size", {1280, 960}, {5184, 3888}, {0, 0}, {}},
        {"no preview", {0, 0}, {5184, 3888}, {2592, 1728}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QRectF kept = PreviewCrop(c.preview, c.still, c.target);
        EXPECT_EQ(kept.isEmpty(), c.kept.isEmpty());
        EXPECT_NEAR(kept.x(), c.kept.x(), 1e-3);
        EXPECT_NEAR(kept.y(), c.kept.y(), 1e-3);
        EXPECT_NEAR(kept.width(), c.kept.width(), 1e-3);
        EXPECT_NEAR(kept.height(), c.kept.height(), 1e-3);
    }
}

}  // namespace
}  // namespace zv
