#include "imaging/exif_block.h"

#include "imaging/exif_reader.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace zv {
namespace {

using test::ExifReader;

ScanMetadata Sample(int offsetSeconds = 3600) {
    ScanMetadata metadata;
    metadata.scanned = QDateTime(QDate(2024, 3, 7), QTime(14, 25, 1, 42), QTimeZone(offsetSeconds));
    metadata.make = QStringLiteral("Filmwerk Ænde");
    metadata.model = QStringLiteral("Film Scanner");
    metadata.software = QStringLiteral("zevuvora 0.1.0");
    metadata.description = QStringLiteral("Negative film, 135, 5184x3456");
    metadata.userComment = QStringLiteral("Saturation 64, Brightness 0");
    metadata.dotsPerInchX = 3658;
    metadata.dotsPerInchY = 3658;
    return metadata;
}

struct FieldCase {
    ExifReader::Ifd ifd;
    int tag;
    const char* value;
};

TEST(ExifBlockTest, EveryFieldReadsBackAsWritten) {
    const QByteArray block = ExifBlock::Build(Sample());
    const ExifReader exif(block);
    ASSERT_TRUE(exif.IsValid());
    EXPECT_LE(block.size(), ExifBlock::kMaxSize);
    const FieldCase fields[] = {
        {ExifReader::kPicture, 0x010E, "Negative film, 135, 5184x3456"},
        {ExifReader::kPicture, 0x010F, "Filmwerk Ænde"},
        {ExifReader::kPicture, 0x0110, "Film Scanner"},
        {ExifReader::kPicture, 0x0112, "1"},
        {ExifReader::kPicture, 0x011A, "3658/1"},
        {ExifReader::kPicture, 0x011B, "3658/1"},
        {ExifReader::kPicture, 0x0128, "2"},
        {ExifReader::kPicture, 0x0131, "zevuvora 0.1.0"},
        {ExifReader::kExif, 0x9000, "0232"},
        {ExifReader::kExif, 0x9003, "2024:03:07 14:25:01"},
        {ExifReader::kExif, 0x9004, "2024:03:07 14:25:01"},
        {ExifReader::kExif, 0x9011, "+01:00"},
        {ExifReader::kExif, 0x9012, "+01:00"},
        {ExifReader::kExif, 0x9291, "042"},
        {ExifReader::kExif, 0x9292, "042"},
    };
    for (const FieldCase& field : fields) {
        EXPECT_EQ(exif.Value(field.ifd, field.tag), QString::fromUtf8(field.value))
            << std::hex << field.tag;
    }
    EXPECT_EQ(exif.Value(ExifReader::kExif, 0x9286),
              QString::fromLatin1(QByteArray("ASCII\0\0\0Saturation 64, Brightness 0", 35)));
    for (const ExifReader::Ifd ifd : {ExifReader::kPicture, ExifReader::kExif}) {
        EXPECT_TRUE(std::is_sorted(exif.Tags(ifd).begin(), exif.Tags(ifd).end()))
            << "readers look tags up in ascending order";
    }
    EXPECT_EQ(exif.Tags(ExifReader::kPicture).size(), 9u) << "the eight fields and the pointer";
    EXPECT_EQ(exif.Tags(ExifReader::kExif).size(), 8u);
}

TEST(ExifBlockTest, OffsetFromUtcIsSignedHoursAndMinutes) {
    const std::pair<int, const char*> offsets[] = {
        {0, "+00:00"}, {-(5 * 3600 + 30 * 60), "-05:30"}, {13 * 3600 + 45 * 60, "+13:45"}};
    for (const auto& [seconds, text] : offsets) {
        const ExifReader exif(ExifBlock::Build(Sample(seconds)));
        EXPECT_EQ(exif.Value(ExifReader::kExif, 0x9011), QString::fromLatin1(text));
    }
}

TEST(ExifBlockTest, UnknownValuesAreLeftOut) {
    ScanMetadata metadata = Sample();
    metadata.make.clear();
    metadata.dotsPerInchX = 0;
    const ExifReader exif(ExifBlock::Build(metadata));
    ASSERT_TRUE(exif.IsValid());
    for (const int tag : {0x010F, 0x011A, 0x011B, 0x0128}) {
        EXPECT_EQ(exif.Value(ExifReader::kPicture, tag), QStringLiteral("<missing>")) << tag;
    }
    EXPECT_EQ(exif.Value(ExifReader::kPicture, 0x0110), QStringLiteral("Film Scanner"));
}

}  // namespace
}  // namespace zv
