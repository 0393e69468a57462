#include "session/scan_naming.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

struct NamingCase {
    int filmType;
    int filmSize;
    int resolution;
    const char* expectedParts;  // "<type>_<size>_<resolution>"
    QSize expectedSize;
    QSize expectedDpi;  // output pixels over the film frame (36 x 24 or 28 x 28 mm), rounded
};

class ScanNamingTest : public testing::TestWithParam<NamingCase> {};

TEST_P(ScanNamingTest, NamesAndSizesFollowTheSettings) {
    const NamingCase& c = GetParam();
    const QDateTime time(QDate(2024, 3, 7), QTime(14, 25, 1, 42));
    EXPECT_EQ(ScanFileName(QStringLiteral("/scans"), c.filmType, c.filmSize, c.resolution, time),
              QStringLiteral("/scans/ZevuVora_%1_20240307_142501042.jpg")
                  .arg(QLatin1String(c.expectedParts)));
    EXPECT_EQ(OutputSize(c.filmSize, c.resolution), c.expectedSize);
    EXPECT_EQ(DotsPerInch(c.filmSize, c.resolution), c.expectedDpi);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCombination, ScanNamingTest,
    testing::Values(NamingCase{0, 0, 0, "slide_135_5M", QSize(2592, 1728), QSize(1829, 1829)},
                    NamingCase{0, 0, 1, "slide_135_16M", QSize(5184, 3456), QSize(3658, 3658)},
                    NamingCase{1, 0, 0, "negative_135_5M", QSize(2592, 1728), QSize(1829, 1829)},
                    NamingCase{1, 0, 1, "negative_135_16M", QSize(5184, 3456), QSize(3658, 3658)},
                    NamingCase{2, 0, 1, "bw_135_16M", QSize(5184, 3456), QSize(3658, 3658)},
                    NamingCase{0, 1, 0, "slide_126_5M", QSize(1497, 1497), QSize(1358, 1358)},
                    NamingCase{1, 1, 0, "negative_126_5M", QSize(1497, 1497), QSize(1358, 1358)},
                    // The resolution name does not follow the film size: 2995 x 2995 is "16M".
                    NamingCase{2, 1, 1, "bw_126_16M", QSize(2995, 2995), QSize(2717, 2717)},
                    // Values no control offers: empty names and no output size.
                    NamingCase{3, 2, 0, "__5M", QSize(0, 0), QSize()},
                    NamingCase{-1, 3, 1, "__16M", QSize(0, 0), QSize()},
                    NamingCase{0, 4, 0, "slide__5M", QSize(), QSize()}));

TEST(ScanFileNameTest, KeepsTheFoldersFinalSeparatorAndPadsEveryField) {
    const QDateTime time(QDate(987, 1, 2), QTime(3, 4, 5, 6));
    EXPECT_EQ(ScanFileName(QStringLiteral("/home/ann/Pictures/ZevuVora/"), 1, 0, 1, time),
              QStringLiteral(
                  "/home/ann/Pictures/ZevuVora//ZevuVora_negative_135_16M_09870102_030405006.jpg"));
}

}  // namespace
}  // namespace zv
