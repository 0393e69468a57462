#include "imaging/jpeg_frame_decoder.h"

#include "imaging/imaging_status.h"
#include "imaging/still_frames.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

Status Decode(const QByteArray& frame, QImage* image) {
    return JpegFrameDecoder::Decode(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                                    static_cast<std::size_t>(frame.size()), image);
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

class JpegFrameDecoderEncodingTest : public testing::TestWithParam<EncodingCase> {};

TEST_P(JpegFrameDecoderEncodingTest, DecodesTheWholePicture) {
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

INSTANTIATE_TEST_SUITE_P(Encodings, JpegFrameDecoderEncodingTest,
                         testing::Values(EncodingCase{"yuv444", test::Chroma::k444, false},
                                         EncodingCase{"yuv422", test::Chroma::k422, false},
                                         EncodingCase{"yuv420", test::Chroma::k420, false},
                                         EncodingCase{"gray", test::Chroma::kGray, false},
                                         EncodingCase{"progressive", test::Chroma::k420, true}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(JpegFrameDecoderTest, MotionJpegFrameWithoutHuffmanTablesDecodesAsWithThem) {
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

class JpegFrameDecoderCutShortTest : public testing::TestWithParam<double> {};

TEST_P(JpegFrameDecoderCutShortTest, FrameCutShortIsABadImage) {
    const QByteArray frame =
        test::EncodeJpeg(test::FilmPicture(320, 240, 8), 90, test::Chroma::k422);
    const QByteArray cut = frame.left(static_cast<qsizetype>(frame.size() * GetParam()));
    QImage decoded;
    EXPECT_EQ(Decode(cut, &decoded), kBadImage);
    EXPECT_TRUE(decoded.isNull());
}

INSTANTIATE_TEST_SUITE_P(Fractions, JpegFrameDecoderCutShortTest,
                         testing::Values(0.01, 0.1, 0.5, 0.9, 0.99));

TEST(JpegFrameDecoderTest, BytesThatAreNoJpegAreABadImage) {
    QImage decoded;
    EXPECT_EQ(Decode(QByteArray(), &decoded), kBadImage);
    EXPECT_EQ(Decode(QByteArray(4096, '\x5a'), &decoded), kBadImage);
    EXPECT_EQ(Decode(QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(100, '\0'), &decoded),
              kBadImage);
    EXPECT_EQ(JpegFrameDecoder::Decode(nullptr, 100, &decoded), kBadImage);
    EXPECT_TRUE(decoded.isNull());
}

TEST(JpegFrameDecoderTest, CorruptEntropyDataIsABadImage) {
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

TEST(JpegFrameDecoderTest, HeaderClaimingAHugePictureIsRefused) {
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

}  // namespace
}  // namespace zv
