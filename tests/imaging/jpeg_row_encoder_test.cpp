#include "imaging/jpeg_row_encoder.h"

#include "imaging/still_frames.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace zv {
namespace {

QByteArray EncodeInRuns(const QImage& picture, int runRows) {
    JpegRowEncoder encoder;
    EXPECT_EQ(encoder.Start(picture.size()), kOk);
    for (int top = 0; top < picture.height(); top += runRows) {
        EXPECT_EQ(encoder.WriteRows(picture.constScanLine(top), picture.bytesPerLine(),
                                    std::min(runRows, picture.height() - top)),
                  kOk);
    }
    QByteArray jpeg;
    EXPECT_EQ(encoder.Finish(&jpeg), kOk);
    return jpeg;
}

TEST(JpegRowEncoderTest, FileIsQuality100WithFullChromaAndComesBackNearlyExact) {
    const QImage picture = test::FilmPicture(333, 250, 30);
    const QByteArray jpeg = EncodeInRuns(picture, 32);
    int tables = 0;
    for (const test::JpegSegment& segment : test::ReadSegments(jpeg)) {
        if (segment.marker == 0xDB) {
            for (qsizetype at = 0; at + 65 <= segment.payload.size(); at += 65, ++tables) {
                for (int i = 1; i <= 64; ++i) {
                    ASSERT_EQ(segment.payload[at + i], 1) << "table " << tables << " entry " << i;
                }
            }
        }
        if (segment.marker == 0xC0) {
            ASSERT_EQ(segment.payload[5], 3);
            for (int component = 0; component < 3; ++component) {
                EXPECT_EQ(segment.payload[6 + component * 3 + 1], 0x11);
            }
        }
    }
    EXPECT_EQ(tables, 2);
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(jpeg, "JPG"));
    ASSERT_EQ(decoded.size(), picture.size());
    int worst = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            const QRgb q = decoded.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    }
    EXPECT_LE(worst, 4);
}

TEST(JpegRowEncoderTest, RunLengthDoesNotChangeTheFile) {
    const QImage picture = test::FilmPicture(120, 97, 30);
    EXPECT_EQ(EncodeInRuns(picture, 1), EncodeInRuns(picture, 97));
}

TEST(JpegRowEncoderTest, OutputLargerThanTheFirstGuessGrows) {
    // Pure noise compresses worse than the buffer's first size.
    QImage noise(256, 256, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            noise.setPixel(x, y, random.generate() | 0xff000000u);
        }
    }
    const QByteArray jpeg = EncodeInRuns(noise, 64);
    EXPECT_GT(jpeg.size(), 256 * 256 / 2 + 65536);
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(jpeg, "JPG"));
    EXPECT_EQ(decoded.size(), noise.size());
}

TEST(JpegRowEncoderTest, MissingOrSurplusRowsFail) {
    const QImage picture = test::FilmPicture(64, 48);
    JpegRowEncoder encoder;
    ASSERT_EQ(encoder.Start(picture.size()), kOk);
    ASSERT_EQ(encoder.WriteRows(picture.constBits(), picture.bytesPerLine(), 40), kOk);
    QByteArray jpeg;
    EXPECT_EQ(encoder.Finish(&jpeg), kFail);
    EXPECT_EQ(encoder.WriteRows(picture.constBits(), picture.bytesPerLine(), 9), kFail);
    EXPECT_EQ(encoder.WriteRows(picture.constBits(), picture.bytesPerLine(), 8), kOk);
    EXPECT_EQ(encoder.Finish(&jpeg), kOk);
    EXPECT_FALSE(jpeg.isEmpty());
}

TEST(JpegRowEncoderTest, EmptyOrOversizedPictureIsRefused) {
    JpegRowEncoder encoder;
    EXPECT_EQ(encoder.Start({0, 10}), kInvalidArg);
    EXPECT_EQ(encoder.Start({70000, 10}), kInvalidArg);
    QByteArray jpeg;
    EXPECT_EQ(encoder.Finish(&jpeg), kFail);
}

}  // namespace
}  // namespace zv
