#include "imaging/jpeg_writer.h"

#include "imaging/imaging_status.h"
#include "imaging/scratch_folder.h"
#include "imaging/still_frames.h"
#include "imaging/unprivileged_user.h"
#include "support/jpeg_frame.h"

#include <QPainter>

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zv {
namespace {

const QRgb kRed = qRgb(220, 20, 20);
const QRgb kGreen = qRgb(20, 200, 20);
const QRgb kBlue = qRgb(30, 60, 210);
const QRgb kWhite = qRgb(250, 250, 250);

void ExpectColourNear(QRgb actual, QRgb expected, int tolerance, const char* where) {
    EXPECT_NEAR(qRed(actual), qRed(expected), tolerance) << where;
    EXPECT_NEAR(qGreen(actual), qGreen(expected), tolerance) << where;
    EXPECT_NEAR(qBlue(actual), qBlue(expected), tolerance) << where;
}

// A 4:3 frame whose rows outside the band of a 3:2 target are red (top) and green (bottom); the
// band is blue with a white square in its middle.
QImage BandedPicture(int width, int height, int bandY, int bandHeight) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width, bandY, kRed);
    painter.fillRect(0, bandY, width, bandHeight, kBlue);
    painter.fillRect(0, bandY + bandHeight, width, height - bandY - bandHeight, kGreen);
    painter.fillRect(width * 3 / 8, bandY + bandHeight * 3 / 8, width / 4, bandHeight / 4, kWhite);
    return image;
}

class JpegWriterTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.IsValid()); }

    Status Write(const QByteArray& frame, QSize source, const QString& name, QSize target) {
        return WriteJpeg(test::Bytes(frame), static_cast<std::int32_t>(frame.size()),
                         source.width(), source.height(), m_folder.FilePath(name), target.width(),
                         target.height());
    }

    QImage Saved(const QString& name) const {
        return QImage(m_folder.FilePath(name), "JPG").convertToFormat(QImage::Format_RGB32);
    }

    test::ScratchFolder m_folder;
};

TEST_F(JpegWriterTest, FourThreeFrameLosesTheRowsOutsideTheBand) {
    // 400 x 300 into 300 x 200: band y 17, height 266.
    const QByteArray frame =
        test::EncodeJpeg(BandedPicture(400, 300, 17, 266), 95, test::Chroma::k444);
    ASSERT_EQ(Write(frame, {400, 300}, "scan.jpg", {300, 200}), kOk);
    EXPECT_EQ(m_folder.Entries(), QStringList{"scan.jpg"});
    const QImage saved = Saved("scan.jpg");
    ASSERT_EQ(saved.size(), QSize(300, 200));
    for (int x = 0; x < 300; x += 50) {
        ExpectColourNear(saved.pixel(x, 0), kBlue, 12, "top row");
        ExpectColourNear(saved.pixel(x, 199), kBlue, 12, "bottom row");
    }
    // The square keeps its place in the middle of the band.
    ExpectColourNear(saved.pixel(150, 100), kWhite, 8, "middle");
    ExpectColourNear(saved.pixel(300 * 3 / 8 + 3, 200 * 3 / 8 + 3), kWhite, 8, "square's corner");
    ExpectColourNear(saved.pixel(300 * 3 / 8 - 4, 200 * 3 / 8 - 4), kBlue, 12, "outside corner");
}

TEST_F(JpegWriterTest, FileIsBaselineQuality100WithFullChroma) {
    const QByteArray frame =
        test::EncodeJpeg(test::FilmPicture(400, 300, 8), 90, test::Chroma::k422);
    ASSERT_EQ(Write(frame, {400, 300}, "scan.jpg", {300, 200}), kOk);
    const std::vector<test::JpegSegment> segments = test::ReadSegments(m_folder.Read("scan.jpg"));
    int tables = 0;
    bool frameHeader = false;
    for (const test::JpegSegment& segment : segments) {
        if (segment.marker == 0xDB) {
            // Each table: a precision/id byte, then 64 entries; quality 100 makes every one 1.
            for (qsizetype at = 0; at + 65 <= segment.payload.size(); at += 65, ++tables) {
                ASSERT_EQ(segment.payload[at] & 0xF0, 0) << "8-bit table";
                for (int i = 1; i <= 64; ++i) {
                    ASSERT_EQ(segment.payload[at + i], 1) << "table " << tables << " entry " << i;
                }
            }
        }
        if (segment.marker == 0xC0) {
            frameHeader = true;
            ASSERT_EQ(segment.payload[5], 3) << "three components";
            for (int component = 0; component < 3; ++component) {
                EXPECT_EQ(segment.payload[6 + component * 3 + 1], 0x11) << "no subsampling";
            }
        }
    }
    EXPECT_EQ(tables, 2);
    EXPECT_TRUE(frameHeader);
}

TEST_F(JpegWriterTest, SquareFrameIsStretchedWhole) {
    QImage picture(300, 300, QImage::Format_RGB32);
    picture.fill(kBlue);
    QPainter(&picture).fillRect(0, 0, 150, 150, kRed);
    const QByteArray frame = test::EncodeJpeg(picture, 95, test::Chroma::k444);
    ASSERT_EQ(Write(frame, {300, 300}, "scan.jpg", {300, 200}), kOk);
    const QImage saved = Saved("scan.jpg");
    ASSERT_EQ(saved.size(), QSize(300, 200));
    ExpectColourNear(saved.pixel(0, 0), kRed, 12, "top left, not cut");
    ExpectColourNear(saved.pixel(140, 90), kRed, 12, "red quarter's corner");
    ExpectColourNear(saved.pixel(160, 110), kBlue, 12, "beyond it");
    ExpectColourNear(saved.pixel(299, 199), kBlue, 12, "bottom right");
}

TEST_F(JpegWriterTest, FrameOfTheTargetsSizeIsWrittenUnscaled) {
    // Rows of alternating shades: a shift or a scale by a single row shows.
    QImage picture(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y) {
        const int shade = (y / 2) % 2 == 0 ? 40 : 210;
        for (int x = 0; x < 300; ++x) {
            picture.setPixel(x, y, qRgb(shade, shade, (x * 255) / 299));
        }
    }
    const QByteArray frame = test::EncodeJpeg(picture, 100, test::Chroma::k444);
    QImage original;
    original.loadFromData(frame, "JPG");
    ASSERT_EQ(Write(frame, {300, 200}, "scan.jpg", {300, 200}), kOk);
    const QImage saved = Saved("scan.jpg");
    ASSERT_EQ(saved.size(), QSize(300, 200));
    int worst = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            worst =
                std::max(worst, std::abs(qGreen(saved.pixel(x, y)) - qGreen(original.pixel(x, y))));
        }
    }
    EXPECT_LE(worst, 3);
}

TEST_F(JpegWriterTest, FrameWiderThanTheTargetsShapeGetsBlackRows) {
    // 400 x 200 into 300 x 200: band y -33, height 266, so about 25 black rows at each end.
    QImage picture(400, 200, QImage::Format_RGB32);
    picture.fill(kWhite);
    ASSERT_EQ(Write(test::EncodeJpeg(picture, 95, test::Chroma::k444), {400, 200}, "scan.jpg",
                    {300, 200}),
              kOk);
    const QImage saved = Saved("scan.jpg");
    ASSERT_EQ(saved.size(), QSize(300, 200));
    for (int x = 0; x < 300; x += 30) {
        ExpectColourNear(saved.pixel(x, 2), qRgb(0, 0, 0), 6, "above the frame");
        ExpectColourNear(saved.pixel(x, 197), qRgb(0, 0, 0), 6, "below the frame");
        ExpectColourNear(saved.pixel(x, 100), kWhite, 6, "the frame");
    }
}

TEST_F(JpegWriterTest, MotionJpegFrameWithoutHuffmanTablesIsSaved) {
    const QByteArray frame = test::WithoutHuffmanTables(
        test::EncodeJpeg(BandedPicture(400, 300, 17, 266), 90, test::Chroma::k422));
    ASSERT_EQ(Write(frame, {400, 300}, "scan.jpg", {300, 200}), kOk);
    const QImage saved = Saved("scan.jpg");
    ASSERT_EQ(saved.size(), QSize(300, 200));
    ExpectColourNear(saved.pixel(150, 100), kWhite, 10, "middle");
    ExpectColourNear(saved.pixel(20, 20), kBlue, 14, "band");
}

struct FailureCase {
    const char* name;
    QByteArray (*frame)();
    QSize source;
    QSize target;
    Status expected;
};

QByteArray GoodFrame() {
    static const QByteArray frame =
        test::EncodeJpeg(test::FilmPicture(400, 300, 8), 90, test::Chroma::k422);
    return frame;
}
QByteArray TruncatedFrame() {
    return GoodFrame().left(GoodFrame().size() / 2);
}
// Cut in the rows below the band, which are never drawn: still a broken frame.
QByteArray CutBelowTheBandFrame() {
    return GoodFrame().left(GoodFrame().size() * 98 / 100);
}
QByteArray GarbageFrame() {
    return QByteArray(20000, '\x3c');
}
QByteArray HeaderOnlyFrame() {
    const QByteArray frame = GoodFrame();
    const std::vector<test::JpegSegment> segments = test::ReadSegments(frame);
    return frame.left(segments.back().offset + 4 + segments.back().payload.size());
}

class JpegWriterFailureTest : public JpegWriterTest,
                              public testing::WithParamInterface<FailureCase> {};

TEST_P(JpegWriterFailureTest, FailsAndLeavesNoFile) {
    const FailureCase c = GetParam();
    EXPECT_EQ(Write(c.frame(), c.source, "scan.jpg", c.target), c.expected);
    EXPECT_TRUE(m_folder.Entries().isEmpty()) << m_folder.Entries().join(", ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JpegWriterFailureTest,
    testing::Values(
        FailureCase{"truncated", TruncatedFrame, {400, 300}, {300, 200}, kBadImage},
        FailureCase{"cut_below_the_band", CutBelowTheBandFrame, {400, 300}, {300, 200}, kBadImage},
        FailureCase{"header_only", HeaderOnlyFrame, {400, 300}, {300, 200}, kBadImage},
        FailureCase{"garbage", GarbageFrame, {400, 300}, {300, 200}, kBadImage},
        FailureCase{"no_still_format", GoodFrame, {0, 0}, {300, 200}, kInvalidArg},
        FailureCase{"band_outside_frame", GoodFrame, {40, 3000}, {300, 200}, kInvalidArg},
        FailureCase{"zero_target", GoodFrame, {400, 300}, {0, 200}, kInvalidArg},
        FailureCase{"negative_source", GoodFrame, {-400, 300}, {300, 200}, kInvalidArg}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(JpegWriterTest, NoFrameOrAnEmptyOneFails) {
    EXPECT_EQ(WriteJpeg(nullptr, 100, 400, 300, m_folder.FilePath("a.jpg"), 300, 200), kBadImage);
    const QByteArray frame = GoodFrame();
    EXPECT_EQ(WriteJpeg(test::Bytes(frame), 0, 400, 300, m_folder.FilePath("a.jpg"), 300, 200),
              kBadImage);
    EXPECT_EQ(WriteJpeg(test::Bytes(frame), -5, 400, 300, m_folder.FilePath("a.jpg"), 300, 200),
              kBadImage);
    EXPECT_TRUE(m_folder.Entries().isEmpty());
}

TEST_F(JpegWriterTest, EarlierScanUnderTheSameNameIsKept) {
    ASSERT_EQ(Write(GoodFrame(), {400, 300}, "scan.jpg", {300, 200}), kOk);
    const QByteArray earlier = m_folder.Read("scan.jpg");
    const QByteArray other =
        test::EncodeJpeg(test::FilmPicture(400, 300, 30), 80, test::Chroma::k420);
    EXPECT_EQ(Write(other, {400, 300}, "scan.jpg", {300, 200}), StatusFromErrno(EEXIST));
    EXPECT_EQ(m_folder.Read("scan.jpg"), earlier);
    EXPECT_EQ(m_folder.Entries(), QStringList{"scan.jpg"});
}

TEST_F(JpegWriterTest, MissingFolderFailsWithItsSystemError) {
    EXPECT_EQ(Write(GoodFrame(), {400, 300}, "missing/scan.jpg", {300, 200}),
              StatusFromErrno(ENOENT));
    EXPECT_TRUE(m_folder.Entries().isEmpty());
}

TEST_F(JpegWriterTest, ReadOnlyFolderFailsWithItsSystemError) {
    ASSERT_TRUE(QDir(m_folder.Path()).mkdir("locked"));
    ASSERT_EQ(chmod(QFile::encodeName(m_folder.Path()).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(m_folder.FilePath("locked")).constData(), 0555), 0);
    const QByteArray frame = GoodFrame();
    Status status = kOk;
    {
        test::UnprivilegedUser user;
        ASSERT_TRUE(user.IsActive());
        status = Write(frame, {400, 300}, "locked/scan.jpg", {300, 200});
    }
    EXPECT_EQ(status, StatusFromErrno(EACCES));
    EXPECT_TRUE(m_folder.Entries("locked").isEmpty());
}

}  // namespace
}  // namespace zv
