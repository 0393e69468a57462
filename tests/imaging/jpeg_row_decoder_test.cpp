#include "imaging/jpeg_row_decoder.h"

#include "imaging/imaging_status.h"
#include "imaging/still_frames.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <vector>

namespace zv {
namespace {

// Decodes the whole frame in runs of a few rows, as the writer does.
Status Decode(const QByteArray& frame, QImage* image) {
    *image = QImage();
    JpegRowDecoder decoder;
    Status status = decoder.Open(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                                 static_cast<std::size_t>(frame.size()));
    if (status != kOk) {
        return status;
    }
    QImage decoded(decoder.Size(), QImage::Format_RGB32);
    while (status == kOk && decoder.RowsDone() < decoded.height()) {
        int rows = 0;
        status = decoder.ReadRows(decoded.scanLine(decoder.RowsDone()), decoded.bytesPerLine(), 7,
                                  &rows);
    }
    if (status == kOk) {
        status = decoder.Finish();
    }
    if (status == kOk) {
        *image = decoded;
    }
    return status;
}

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

struct EncodingCase {
    const char* name;
    test::Chroma chroma;
    bool progressive;
};

class JpegRowDecoderEncodingTest : public testing::TestWithParam<EncodingCase> {};

TEST_P(JpegRowDecoderEncodingTest, DecodesTheWholePicture) {
    const QImage picture = test::FilmPicture(160, 120);
    const QByteArray frame =
        test::EncodeJpeg(picture, 95, GetParam().chroma, GetParam().progressive);
    QImage decoded;
    ASSERT_EQ(Decode(frame, &decoded), kOk);
    EXPECT_EQ(decoded.size(), QSize(160, 120));
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    if (GetParam().chroma != test::Chroma::kGray) {
        // The middle of the ellipse comes back within JPEG's loss.
        const QRgb centre = decoded.pixel(58, 44);
        const QRgb expected = picture.pixel(58, 44);
        EXPECT_NEAR(qRed(centre), qRed(expected), 12);
        EXPECT_NEAR(qGreen(centre), qGreen(expected), 12);
        EXPECT_NEAR(qBlue(centre), qBlue(expected), 12);
    }
}

INSTANTIATE_TEST_SUITE_P(Encodings, JpegRowDecoderEncodingTest,
                         testing::Values(EncodingCase{"yuv444", test::Chroma::k444, false},
                                         EncodingCase{"yuv422", test::Chroma::k422, false},
                                         EncodingCase{"yuv420", test::Chroma::k420, false},
                                         EncodingCase{"gray", test::Chroma::kGray, false},
                                         EncodingCase{"progressive", test::Chroma::k420, true}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(JpegRowDecoderTest, MotionJpegFrameWithoutHuffmanTablesDecodesAsWithThem) {
    const QByteArray full =
        test::EncodeJpeg(test::FilmPicture(320, 240, 8), 90, test::Chroma::k422);
    const QByteArray motion = test::WithoutHuffmanTables(full);
    ASSERT_LT(motion.size(), full.size());
    for (const test::JpegSegment& segment : test::ReadSegments(motion)) {
        ASSERT_NE(segment.marker, 0xC4);
    }
    QImage withTables;
    QImage withoutTables;
    ASSERT_EQ(Decode(full, &withTables), kOk);
    ASSERT_EQ(Decode(motion, &withoutTables), kOk);
    EXPECT_EQ(MaxChannelDifference(withTables, withoutTables), 0);
}

class JpegRowDecoderCutShortTest : public testing::TestWithParam<double> {};

TEST_P(JpegRowDecoderCutShortTest, FrameCutShortIsABadImage) {
    const QByteArray frame =
        test::EncodeJpeg(test::FilmPicture(320, 240, 8), 90, test::Chroma::k422);
    const QByteArray cut = frame.left(static_cast<qsizetype>(frame.size() * GetParam()));
    QImage decoded;
    EXPECT_EQ(Decode(cut, &decoded), kBadImage);
    EXPECT_TRUE(decoded.isNull());
}

INSTANTIATE_TEST_SUITE_P(Fractions, JpegRowDecoderCutShortTest,
                         testing::Values(0.01, 0.1, 0.5, 0.9, 0.99));

TEST(JpegRowDecoderTest, BytesThatAreNoJpegAreABadImage) {
    QImage decoded;
    EXPECT_EQ(Decode(QByteArray(), &decoded), kBadImage);
    EXPECT_EQ(Decode(QByteArray(4096, '\x5a'), &decoded), kBadImage);
    EXPECT_EQ(Decode(QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(100, '\0'), &decoded),
              kBadImage);
    JpegRowDecoder decoder;
    EXPECT_EQ(decoder.Open(nullptr, 100), kBadImage);
    EXPECT_TRUE(decoded.isNull());
}

TEST(JpegRowDecoderTest, CorruptEntropyDataIsABadImage) {
    QByteArray frame = test::EncodeJpeg(test::FilmPicture(320, 240, 8), 90, test::Chroma::k422);
    const std::vector<test::JpegSegment> segments = test::ReadSegments(frame);
    const qsizetype data = segments.back().offset + 4 + segments.back().payload.size();
    // Restart markers where none were announced: the decoder has to resynchronise and warns.
    for (qsizetype at = data + 100; at + 1 < frame.size() - 2; at += 997) {
        frame[at] = '\xff';
        frame[at + 1] = '\xd3';
    }
    QImage decoded;
    EXPECT_EQ(Decode(frame, &decoded), kBadImage);
}

TEST(JpegRowDecoderTest, HeaderClaimingAHugePictureIsRefused) {
    QByteArray frame = test::EncodeJpeg(test::FilmPicture(64, 48), 90, test::Chroma::k420);
    for (const test::JpegSegment& segment : test::ReadSegments(frame)) {
        if (segment.marker == 0xC0) {
            // SOF0: precision, then height and width, 16 bits each.
            frame[segment.offset + 5] = '\xff';
            frame[segment.offset + 6] = '\xf0';
            frame[segment.offset + 7] = '\xff';
            frame[segment.offset + 8] = '\xf0';
        }
    }
    QImage decoded;
    EXPECT_EQ(Decode(frame, &decoded), kBadImage);
}

TEST(JpegRowDecoderTest, MissingEndMarkerIsABadImageEvenWithEveryRowThere) {
    const QByteArray frame = test::EncodeJpeg(test::FilmPicture(64, 48, 8), 90, test::Chroma::k422);
    ASSERT_TRUE(frame.endsWith("\xff\xd9"));
    QImage decoded;
    EXPECT_EQ(Decode(frame.left(frame.size() - 2), &decoded), kBadImage);
}

// A valid progressive grey image of `scans` scans: the DC scan, then each AC coefficient alone,
// first at a coarse bit position and then refined one bit at a time.
QByteArray ProgressiveWithScans(int scans) {
    std::vector<jpeg_scan_info> script;
    script.push_back({1, {0}, 0, 0, 0, 0});
    for (int k = 1; k < 64 && static_cast<int>(script.size()) < scans; ++k) {
        script.push_back({1, {0}, k, k, 0, 9});
        for (int bit = 9; bit > 0 && static_cast<int>(script.size()) < scans; --bit) {
            script.push_back({1, {0}, k, k, bit, bit - 1});
        }
    }
    const QImage picture = test::FilmPicture(16, 16).convertToFormat(QImage::Format_Grayscale8);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = 16;
    info.image_height = 16;
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    info.scan_info = script.data();
    info.num_scans = static_cast<int>(script.size());
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < 16; ++y) {
        JSAMPROW row = const_cast<uchar*>(picture.constScanLine(y));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    std::free(out);
    return bytes;
}

TEST(JpegRowDecoderTest, ProgressiveImageWithTooManyScansIsRefused) {
    QImage decoded;
    EXPECT_EQ(Decode(ProgressiveWithScans(JpegRowDecoder::kMaxScans), &decoded), kOk);
    EXPECT_EQ(Decode(ProgressiveWithScans(JpegRowDecoder::kMaxScans + 1), &decoded), kBadImage);
}

Status DecodeMiddle(const QByteArray& frame, int begin, int end, QImage* rows) {
    JpegRowDecoder decoder;
    Status status = decoder.Open(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                                 static_cast<std::size_t>(frame.size()));
    if (status == kOk) {
        status = decoder.SkipRows(begin);
    }
    *rows = QImage(decoder.Size().width(), end - begin, QImage::Format_RGB32);
    while (status == kOk && decoder.RowsDone() < end) {
        int read = 0;
        status = decoder.ReadRows(rows->scanLine(decoder.RowsDone() - begin), rows->bytesPerLine(),
                                  end - decoder.RowsDone(), &read);
    }
    if (status == kOk) {
        status = decoder.SkipRows(decoder.Size().height() - end);
    }
    return status == kOk ? decoder.Finish() : status;
}

TEST(JpegRowDecoderTest, RowsAfterSkippedOnesAreThoseOfAFullDecode) {
    const QByteArray frame = test::WithoutHuffmanTables(
        test::EncodeJpeg(test::FilmPicture(320, 240, 8), 90, test::Chroma::k422));
    QImage whole;
    ASSERT_EQ(Decode(frame, &whole), kOk);
    for (const auto& [begin, end] : {std::pair{13, 227}, std::pair{0, 240}, std::pair{16, 32}}) {
        QImage middle;
        ASSERT_EQ(DecodeMiddle(frame, begin, end, &middle), kOk) << begin;
        EXPECT_EQ(MaxChannelDifference(middle, whole.copy(0, begin, 320, end - begin)), 0) << begin;
    }
}

TEST(JpegRowDecoderTest, DamageInSkippedRowsStillFails) {
    const QByteArray frame =
        test::EncodeJpeg(test::FilmPicture(320, 240, 8), 90, test::Chroma::k422);
    QImage middle;
    EXPECT_EQ(DecodeMiddle(frame.left(frame.size() * 9 / 10), 13, 120, &middle), kBadImage);
    EXPECT_EQ(DecodeMiddle(frame.left(frame.size() / 10), 200, 240, &middle), kBadImage);
}

TEST(JpegRowDecoderTest, NothingIsReadBeforeOpeningAndNoRowMayBeLeftOut) {
    JpegRowDecoder unopened;
    uchar row[64 * 4];
    int rows = -1;
    EXPECT_EQ(unopened.ReadRows(row, sizeof row, 1, &rows), kBadImage);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(unopened.Finish(), kBadImage);

    const QByteArray frame = test::EncodeJpeg(test::FilmPicture(64, 2), 90, test::Chroma::k444);
    JpegRowDecoder decoder;
    ASSERT_EQ(decoder.Open(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                           static_cast<std::size_t>(frame.size())),
              kOk);
    EXPECT_EQ(decoder.Finish(), kBadImage) << "rows missing";
}

}  // namespace
}  // namespace zv
