#include "imaging/jpeg_row_decoder.h"

#include "imaging/imaging_status.h"
#include "imaging/still_frames.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <jerror.h>
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

// A grey picture encoded by libjpeg itself, with `configure` applied to the encoder's settings
// (the TurboJPEG interface offers neither scan scripts nor restart markers).
QByteArray EncodeGrey(const QImage& picture,
                      const std::function<void(jpeg_compress_struct*)>& configure) {
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(grey.width());
    info.image_height = static_cast<JDIMENSION>(grey.height());
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    configure(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto row = const_cast<JSAMPROW>(grey.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    std::free(out);
    return bytes;
}

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
    QImage flat(16, 16, QImage::Format_Grayscale8);
    flat.fill(128);
    return EncodeGrey(flat, [&](jpeg_compress_struct* info) {
        info->scan_info = script.data();
        info->num_scans = scans;
    });
}

TEST(JpegRowDecoderTest, ProgressiveImageWithTooManyScansIsRefused) {
    QImage decoded;
    EXPECT_EQ(Decode(ProgressiveWithScans(JpegRowDecoder::kMaxScans), &decoded), kOk);
    EXPECT_EQ(Decode(ProgressiveWithScans(JpegRowDecoder::kMaxScans + 1), &decoded), kBadImage);
}

// The first warning libjpeg itself gives while decoding the whole frame (its JWRN_* code), or -1.
int FirstWarning(const QByteArray& frame) {
    struct Recorder {
        jpeg_error_mgr manager;
        std::jmp_buf jump;
        int first = -1;
    } recorder{};
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&recorder.manager);
    recorder.manager.error_exit = [](j_common_ptr common) {
        std::longjmp(reinterpret_cast<Recorder*>(common->err)->jump, 1);
    };
    recorder.manager.emit_message = [](j_common_ptr common, int level) {
        auto* self = reinterpret_cast<Recorder*>(common->err);
        if (level < 0 && self->first < 0) {
            self->first = common->err->msg_code;
        }
    };
    jpeg_create_decompress(&info);
    if (setjmp(recorder.jump) == 0) {
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(frame.constData()),
                     static_cast<unsigned long>(frame.size()));
        jpeg_read_header(&info, TRUE);
        jpeg_start_decompress(&info);
        std::vector<JSAMPLE> row(info.output_width * info.output_components);
        for (JSAMPROW rows = row.data(); info.output_scanline < info.output_height;) {
            jpeg_read_scanlines(&info, &rows, 1);
        }
        jpeg_finish_decompress(&info);
    }
    jpeg_destroy_decompress(&info);
    return recorder.first;
}

// A camera frame with a restart marker after every row of blocks.
const QByteArray kRestartFrame = EncodeGrey(
    test::FilmPicture(96, 64, 8), [](jpeg_compress_struct* info) { info->restart_in_rows = 1; });

qsizetype EntropyStart(const QByteArray& frame) {
    const test::JpegSegment scan = test::ReadSegments(frame).back();
    return scan.offset + 4 + scan.payload.size();
}

QByteArray Inserted(QByteArray frame, qsizetype at, const QByteArray& bytes) {
    return frame.insert(at, bytes);
}

struct WarningCase {
    const char* name;
    QByteArray (*craft)(const QByteArray&);
    int warning;      // what libjpeg says of the crafted frame
    Status expected;  // kOk: every pixel is that of the clean frame
};

class JpegRowDecoderWarningTest : public testing::TestWithParam<WarningCase> {};

TEST_P(JpegRowDecoderWarningTest, OnlyWarningsAboutPixelsFailTheFrame) {
    const WarningCase c = GetParam();
    const QByteArray frame = c.craft(kRestartFrame);
    ASSERT_EQ(FirstWarning(frame), c.warning) << "the crafted frame has another fault";
    QImage decoded, clean;
    ASSERT_EQ(Decode(kRestartFrame, &clean), kOk);
    EXPECT_EQ(Decode(frame, &decoded), c.expected);
    if (c.expected == kOk) {
        EXPECT_EQ(decoded, clean);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JpegRowDecoderWarningTest,
    testing::Values(WarningCase{"clean", [](const QByteArray& f) { return f; }, -1, kOk},
                    WarningCase{"stray_bytes_between_header_segments",
                                [](const QByteArray& f) {
                                    return Inserted(f, f.indexOf("\xff\xc0"),
                                                    QByteArray("\x00\x5a\x13", 3));
                                },
                                JWRN_EXTRANEOUS_DATA, kOk},
                    WarningCase{"padding_before_the_end_marker",
                                [](const QByteArray& f) {
                                    return Inserted(f, f.size() - 2, QByteArray(5, '\0'));
                                },
                                JWRN_EXTRANEOUS_DATA, kOk},
                    WarningCase{"unknown_jfif_version",
                                [](const QByteArray& f) {
                                    QByteArray crafted = f;
                                    crafted[f.indexOf("JFIF") + 5] = '\x02';
                                    return crafted;
                                },
                                JWRN_JFIF_MAJOR, kOk},
                    WarningCase{"premature_end_of_data",
                                [](const QByteArray& f) { return f.left(f.size() * 3 / 4); },
                                JWRN_JPEG_EOF, kBadImage},
                    WarningCase{"bad_huffman_code",
                                [](const QByteArray& f) {
                                    // 32 one bits: JPEG never assigns an all-ones code.
                                    return Inserted(f, EntropyStart(f) + 3,
                                                    QByteArray("\xff\x00", 2).repeated(4));
                                },
                                JWRN_HUFF_BAD_CODE, kBadImage},
                    WarningCase{"marker_inside_the_data",
                                [](const QByteArray& f) {
                                    QByteArray crafted = f;
                                    return crafted.replace(EntropyStart(f) + 3, 2, "\xff\xd9", 2);
                                },
                                JWRN_HIT_MARKER, kBadImage},
                    WarningCase{"lost_restart",
                                [](const QByteArray& f) {
                                    QByteArray crafted = f;
                                    crafted[crafted.indexOf("\xff\xd2", EntropyStart(f)) + 1] =
                                        '\xd5';
                                    return crafted;
                                },
                                JWRN_MUST_RESYNC, kBadImage}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace zv
