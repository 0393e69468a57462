#include "imaging/jpeg_writer.h"

#include "imaging/exif_reader.h"
#include "imaging/imaging_status.h"
#include "imaging/scratch_folder.h"
#include "imaging/still_frames.h"

#include <QPainter>

#include <cerrno>
#include <gtest/gtest.h>

namespace zv {
namespace {

const QRgb kRed = qRgb(220, 20, 20), kGreen = qRgb(20, 200, 20), kBlue = qRgb(30, 60, 210),
           kWhite = qRgb(250, 250, 250), kBlack = qRgb(0, 0, 0);

// A frame whose rows above `bandY` are red and below the band green; the band is blue with a
// white square in its middle.
QImage BandedPicture(QSize size, int bandY, int bandHeight) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kGreen);
    QPainter painter(&image);
    painter.fillRect(0, 0, size.width(), bandY, kRed);
    painter.fillRect(0, bandY, size.width(), bandHeight, kBlue);
    painter.fillRect(size.width() * 3 / 8, bandY + bandHeight * 3 / 8, size.width() / 4,
                     bandHeight / 4, kWhite);
    return image;
}

class JpegWriterTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.IsValid()); }

    Status Write(const QByteArray& frame, QSize source, QSize target) {
        return WriteJpeg(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                         static_cast<std::int32_t>(frame.size()), source.width(), source.height(),
                         m_folder.FilePath("scan.jpg"), target.width(), target.height());
    }

    // A 40 x 30 frame into 30 x 20 at `path`.
    Status WriteSmall(const QByteArray& frame, const QString& path, const JpegFileOptions& options,
                      QString* written = nullptr) {
        return WriteJpeg(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                         static_cast<std::int32_t>(frame.size()), 40, 30, path, 30, 20, options,
                         written);
    }

    // The saved picture; every pixel at `points` near its colour.
    QImage ExpectSaved(QSize size, const std::vector<std::pair<QPoint, QRgb>>& points) {
        EXPECT_EQ(m_folder.Entries(), QStringList{"scan.jpg"});
        const QImage saved = QImage(m_folder.FilePath("scan.jpg"), "JPG");
        EXPECT_EQ(saved.size(), size);
        for (const auto& [point, colour] : points) {
            const QRgb pixel = saved.pixel(point);
            EXPECT_LE(std::max({std::abs(qRed(pixel) - qRed(colour)),
                                std::abs(qGreen(pixel) - qGreen(colour)),
                                std::abs(qBlue(pixel) - qBlue(colour))}),
                      12)
                << point.x() << "," << point.y();
        }
        return saved;
    }

    test::ScratchFolder m_folder;
};

TEST_F(JpegWriterTest, FourThreeMotionJpegFrameLosesTheRowsOutsideTheBand) {
    // 400 x 300 into 300 x 200: band y 17, height 266. Sent without Huffman tables.
    const QByteArray frame = test::WithoutHuffmanTables(
        test::EncodeJpeg(BandedPicture({400, 300}, 17, 266), 95, test::Chroma::k422));
    ASSERT_EQ(Write(frame, {400, 300}, {300, 200}), kOk);
    ExpectSaved({300, 200}, {{{0, 0}, kBlue},
                             {{299, 199}, kBlue},
                             {{150, 100}, kWhite},
                             {{116, 78}, kWhite},
                             {{108, 70}, kBlue}});
}

TEST_F(JpegWriterTest, FileIsQuality100WithFullChroma) {
    // Heavy grain: the file outgrows the encoder's first buffer.
    const QByteArray frame =
        test::EncodeJpeg(test::FilmPicture(400, 300, 120), 95, test::Chroma::k422);
    ASSERT_EQ(Write(frame, {400, 300}, {300, 200}), kOk);
    const QByteArray file = m_folder.Read("scan.jpg");
    EXPECT_GT(file.size(), 300 * 200 / 2 + 65536);
    int tables = 0;
    for (const test::JpegSegment& segment : test::ReadSegments(file)) {
        for (qsizetype at = 0; segment.marker == 0xDB && at + 65 <= segment.payload.size();
             at += 65, ++tables) {
            EXPECT_EQ(segment.payload.mid(at + 1, 64), QByteArray(64, 1)) << "table " << tables;
        }
        if (segment.marker == 0xC0) {
            EXPECT_EQ(segment.payload.mid(5, 10),
                      QByteArray("\x03\x01\x11\x00\x02\x11\x01\x03\x11\x01", 10))
                << "three components, none subsampled";
        }
    }
    EXPECT_EQ(tables, 2);
    ExpectSaved({300, 200}, {});
}

TEST_F(JpegWriterTest, SquareFrameIsStretchedWhole) {
    QImage picture(300, 300, QImage::Format_RGB32);
    picture.fill(kBlue);
    QPainter(&picture).fillRect(0, 0, 150, 150, kRed);
    ASSERT_EQ(Write(test::EncodeJpeg(picture, 95, test::Chroma::k444), {300, 300}, {300, 200}),
              kOk);
    ExpectSaved({300, 200}, {{{0, 0}, kRed}, {{140, 90}, kRed}, {{160, 110}, kBlue}});
}

TEST_F(JpegWriterTest, FrameOfTheTargetsSizeIsReencodedUnscaled) {
    // Rows alternating in pairs: a shift or a scale by one row shows.
    QImage picture(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            const int shade = (y / 2) % 2 == 0 ? 40 : 210;
            picture.setPixel(x, y, qRgb(shade, shade, x * 255 / 299));
        }
    }
    const QByteArray frame = test::EncodeJpeg(picture, 100, test::Chroma::k444);
    ASSERT_EQ(Write(frame, {300, 200}, {300, 200}), kOk);
    QImage original;
    ASSERT_TRUE(original.loadFromData(frame, "JPG"));
    EXPECT_LE(test::MaxChannelDifference(ExpectSaved({300, 200}, {}), original), 3);
}

TEST_F(JpegWriterTest, FrameWiderThanTheTargetsShapeGetsBlackRows) {
    // 400 x 200 into 300 x 200: band y -33, height 266: the frame covers target rows 25 to 174.
    QImage picture(400, 200, QImage::Format_RGB32);
    picture.fill(kWhite);
    ASSERT_EQ(Write(test::EncodeJpeg(picture, 95, test::Chroma::k444), {400, 200}, {300, 200}),
              kOk);
    ExpectSaved({300, 200}, {{{10, 2}, kBlack},
                             {{150, 22}, kBlack},
                             {{150, 28}, kWhite},
                             {{290, 171}, kWhite},
                             {{150, 178}, kBlack},
                             {{10, 197}, kBlack}});
}

TEST_F(JpegWriterTest, EarlierScanUnderTheSameNameIsKept) {
    const QByteArray frame = test::EncodeJpeg(test::FilmPicture(400, 300), 90, test::Chroma::k422);
    ASSERT_EQ(Write(frame, {400, 300}, {300, 200}), kOk);
    const QByteArray earlier = m_folder.Read("scan.jpg");
    EXPECT_EQ(Write(frame, {400, 300}, {150, 100}), StatusFromErrno(EEXIST));
    EXPECT_EQ(m_folder.Read("scan.jpg"), earlier);
    EXPECT_EQ(m_folder.Entries(), QStringList{"scan.jpg"});
}

struct FailureCase {
    const char* name;
    int percentOfFrame;  // of a 400 x 300 frame at 4:2:2; 0 for no frame at all
    QSize source, target;
    Status expected;
};

class JpegWriterFailureTest : public JpegWriterTest,
                              public testing::WithParamInterface<FailureCase> {};

TEST_P(JpegWriterFailureTest, FailsAndLeavesNoFile) {
    const FailureCase c = GetParam();
    const QByteArray whole =
        test::EncodeJpeg(test::FilmPicture(400, 300, 8), 90, test::Chroma::k422);
    const QByteArray frame = whole.left(whole.size() * c.percentOfFrame / 100);
    EXPECT_EQ(c.percentOfFrame == 0
                  ? WriteJpeg(nullptr, 100, c.source.width(), c.source.height(),
                              m_folder.FilePath("scan.jpg"), c.target.width(), c.target.height())
                  : Write(frame, c.source, c.target),
              c.expected);
    EXPECT_TRUE(m_folder.Entries().isEmpty()) << m_folder.Entries().join(", ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JpegWriterFailureTest,
    testing::Values(FailureCase{"truncated", 50, {400, 300}, {300, 200}, kBadImage},
                    // Cut in the rows below the band, which are never drawn: still a broken frame.
                    FailureCase{"cut_below_the_band", 98, {400, 300}, {300, 200}, kBadImage},
                    FailureCase{"header_only", 2, {400, 300}, {300, 200}, kBadImage},
                    FailureCase{"no_frame", 0, {400, 300}, {300, 200}, kBadImage},
                    FailureCase{"no_still_format", 100, {0, 0}, {300, 200}, kInvalidArg},
                    FailureCase{"band_outside_frame", 100, {40, 3000}, {300, 200}, kInvalidArg},
                    FailureCase{"zero_target", 100, {400, 300}, {0, 200}, kInvalidArg},
                    FailureCase{"negative_source", 100, {-400, 300}, {300, 200}, kInvalidArg}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(JpegWriterTest, FolderIsMadeOnlyForAFrameThatDecodesAndATakenNameIsNumbered) {
    const QByteArray good = test::EncodeJpeg(test::FilmPicture(40, 30), 90, test::Chroma::k422);
    JpegFileOptions options;
    options.folder = FolderCreation::kWithParents;
    options.numberTakenName = true;
    const auto write = [&](const QByteArray& frame, const QString& path, QString* written) {
        return WriteSmall(frame, path, options, written);
    };
    const QString path = m_folder.FilePath("new/scans/scan.jpg");
    QString written;
    EXPECT_EQ(write(good.left(good.size() / 2), path, &written), kBadImage);
    EXPECT_TRUE(m_folder.Entries().isEmpty()) << "no folder for a damaged frame";
    ASSERT_EQ(write(good, path, &written), kOk);
    EXPECT_EQ(written, path);
    ASSERT_EQ(write(good, path, &written), kOk);
    EXPECT_EQ(written, m_folder.FilePath("new/scans/scan_2.jpg"));
    EXPECT_EQ(m_folder.Entries("new/scans"), (QStringList{"scan.jpg", "scan_2.jpg"}));
    EXPECT_EQ(write(good, m_folder.FilePath(QStringLiteral("caf\uFFFD/scan.jpg")), &written),
              kNoUnicodeTranslation);
}

TEST_F(JpegWriterTest, ExifGoesRightAfterTheJfifHeaderAndChangesNothingElse) {
    const QByteArray frame = test::EncodeJpeg(test::FilmPicture(40, 30), 90, test::Chroma::k422);
    JpegFileOptions options;
    ASSERT_EQ(WriteSmall(frame, m_folder.FilePath("plain.jpg"), options), kOk);
    options.metadata = ScanMetadata{};
    options.metadata->description = QStringLiteral("Slide film, 126, 1497x1497");
    ASSERT_EQ(WriteSmall(frame, m_folder.FilePath("exif.jpg"), options), kOk);
    options.metadata->dotsPerInchX = 3658;
    options.metadata->dotsPerInchY = 1358;
    ASSERT_EQ(WriteSmall(frame, m_folder.FilePath("dpi.jpg"), options), kOk);

    const QByteArray withExif = m_folder.Read("exif.jpg");
    const std::vector<test::JpegSegment> segments = test::ReadSegments(withExif);
    ASSERT_GE(segments.size(), 3u);
    EXPECT_EQ(segments[0].marker, 0xE0);
    EXPECT_EQ(segments[1].marker, 0xE1);
    EXPECT_EQ(test::ExifReader(segments[1].payload).Value(test::ExifReader::kPicture, 0x010E),
              options.metadata->description);
    QByteArray withoutExif = withExif;
    withoutExif.remove(segments[1].offset, 4 + segments[1].payload.size());
    EXPECT_EQ(withoutExif, m_folder.Read("plain.jpg")) << "the picture is the same to the byte";

    // JFIF: version, unit 1 (dots per inch), X and Y density.
    EXPECT_EQ(test::ReadSegments(m_folder.Read("dpi.jpg"))[0].payload.mid(5, 7),
              QByteArray("\x01\x01\x01\x0e\x4a\x05\x4e", 7));
}

TEST_F(JpegWriterTest, MissingFolderFailsWithItsSystemError) {
    const QByteArray frame = test::EncodeJpeg(test::FilmPicture(40, 30), 90, test::Chroma::k422);
    EXPECT_EQ(WriteJpeg(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                        static_cast<std::int32_t>(frame.size()), 40, 30,
                        m_folder.FilePath("missing/scan.jpg"), 30, 20),
              StatusFromErrno(ENOENT));
    EXPECT_TRUE(m_folder.Entries().isEmpty());
}

}  // namespace
}  // namespace zv
