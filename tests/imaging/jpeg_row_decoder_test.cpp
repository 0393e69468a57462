#include "imaging/jpeg_row_decoder.h"

#include "imaging/imaging_status.h"
#include "imaging/still_frames.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <jpeglib.h>

namespace zv {
namespace {

// Decodes frame rows [begin, end) in runs of 7 and passes over the rest, as the writer does.
Status Decode(const QByteArray& frame, QImage* rows, int begin = 0, int end = -1) {
    JpegRowDecoder decoder;
    Status status = decoder.Open(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                                 static_cast<std::size_t>(frame.size()));
    const int height = decoder.Size().height();
    end = end < 0 ? height : end;
    *rows = QImage(decoder.Size().width(), end - begin, QImage::Format_RGB32);
    status = status == kOk ? decoder.SkipRows(begin) : status;
    while (status == kOk && decoder.RowsDone() < end) {
        int read = 0;
        status = decoder.ReadRows(rows->scanLine(decoder.RowsDone() - begin), rows->bytesPerLine(),
                                  std::min(7, end - decoder.RowsDone()), &read);
    }
    status = status == kOk ? decoder.SkipRows(height - end) : status;
    return status == kOk ? decoder.Finish() : status;
}

const QImage kPicture = test::FilmPicture(320, 240, 8);

struct EncodingCase {
    const char* name;
    test::Chroma chroma;
    bool progressive;
};

class JpegRowDecoderEncodingTest : public testing::TestWithParam<EncodingCase> {};

TEST_P(JpegRowDecoderEncodingTest, DecodesWithinJpegsLossAndLikeTurboJpeg) {
    const QByteArray frame =
        test::EncodeJpeg(kPicture, 95, GetParam().chroma, GetParam().progressive);
    QImage decoded;
    ASSERT_EQ(Decode(frame, &decoded), kOk);
    QImage reference;
    ASSERT_TRUE(reference.loadFromData(frame, "JPG"));
    EXPECT_LE(test::MaxChannelDifference(decoded, reference.convertToFormat(QImage::Format_RGB32)),
              2);
    if (GetParam().chroma != test::Chroma::kGray) {
        EXPECT_LE(
            test::MaxChannelDifference(decoded.copy(80, 60, 20, 20), kPicture.copy(80, 60, 20, 20)),
            20);
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
    const QByteArray full = test::EncodeJpeg(kPicture, 90, test::Chroma::k422);
    const QByteArray motion = test::WithoutHuffmanTables(full);
    ASSERT_EQ(motion.indexOf("\xff\xc4"), -1);
    QImage withTables, withoutTables;
    ASSERT_EQ(Decode(full, &withTables), kOk);
    ASSERT_EQ(Decode(motion, &withoutTables), kOk);
    EXPECT_EQ(withTables, withoutTables);
}

TEST(JpegRowDecoderTest, RowsAfterSkippedOnesAreThoseOfAFullDecode) {
    const QByteArray frame = test::EncodeJpeg(kPicture, 90, test::Chroma::k422);
    QImage whole, middle;
    ASSERT_EQ(Decode(frame, &whole), kOk);
    ASSERT_EQ(Decode(frame, &middle, 13, 227), kOk);
    EXPECT_EQ(middle, whole.copy(0, 13, 320, 214));
}

struct DamageCase {
    const char* name;
    QByteArray (*damage)(const QByteArray&);
    int begin, end;  // rows decoded; the others are passed over
};

class JpegRowDecoderDamageTest : public testing::TestWithParam<DamageCase> {};

TEST_P(JpegRowDecoderDamageTest, DamagedFrameIsABadImage) {
    const DamageCase c = GetParam();
    QImage decoded;
    EXPECT_EQ(Decode(c.damage(test::EncodeJpeg(kPicture, 90, test::Chroma::k422)), &decoded,
                     c.begin, c.end),
              kBadImage);
}

QByteArray Cut(const QByteArray& frame, int percent) {
    return frame.left(frame.size() * percent / 100);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JpegRowDecoderDamageTest,
    testing::Values(DamageCase{"cut_at_10", [](const QByteArray& f) { return Cut(f, 10); }, 0, 240},
                    DamageCase{"cut_at_90", [](const QByteArray& f) { return Cut(f, 90); }, 0, 240},
                    DamageCase{"no_end_marker",
                               [](const QByteArray& f) { return f.left(f.size() - 2); }, 0, 240},
                    DamageCase{"cut_in_skipped_rows_above",
                               [](const QByteArray& f) { return Cut(f, 10); }, 200, 240},
                    DamageCase{"cut_in_skipped_rows_below",
                               [](const QByteArray& f) { return Cut(f, 90); }, 13, 120},
                    DamageCase{"restart_markers_in_the_data",
                               [](const QByteArray& f) {
                                   QByteArray damaged = f;
                                   for (qsizetype at = f.size() / 3; at < f.size() - 4; at += 997) {
                                       damaged[at] = '\xff', damaged[at + 1] = '\xd3';
                                   }
                                   return damaged;
                               },
                               0, 240},
                    DamageCase{"garbage",
                               [](const QByteArray&) { return QByteArray(4096, '\x5a'); }, 0, -1},
                    DamageCase{"empty", [](const QByteArray&) { return QByteArray(); }, 0, -1},
                    DamageCase{"huge_size_in_header",
                               [](const QByteArray& f) {
                                   QByteArray damaged = f;
                                   const qsizetype sof = f.indexOf("\xff\xc0");
                                   damaged.replace(sof + 5, 4, "\xff\xf0\xff\xf0",
                                                   4);  // 65520 x 65520
                                   return damaged;
                               },
                               0, -1}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// A valid progressive grey image of `scans` scans: the DC scan, then each AC coefficient alone at
// a coarse bit position, refined one bit at a time.
QByteArray ProgressiveWithScans(int scans) {
    std::vector<jpeg_scan_info> script{{1, {0}, 0, 0, 0, 0}};
    for (int k = 1; k < 64; ++k) {
        script.push_back({1, {0}, k, k, 0, 9});
        for (int bit = 9; bit > 0; --bit) {
            script.push_back({1, {0}, k, k, bit, bit - 1});
        }
    }
    script.resize(static_cast<std::size_t>(scans));
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = info.image_height = 16;
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    info.scan_info = script.data();
    info.num_scans = scans;
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(16, 128);
    for (JSAMPROW rowPointer = row.data(); info.next_scanline < 16;) {
        jpeg_write_scanlines(&info, &rowPointer, 1);
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

}  // namespace
}  // namespace zv
