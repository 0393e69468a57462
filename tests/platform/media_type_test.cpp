#include "platform/devices/scanner_contract.h"
#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"

#include <cstring>
#include <gtest/gtest.h>

namespace zv::media {
namespace {

std::int32_t Read32(const MediaType& type, std::size_t offset) {
    std::int32_t value = 0;
    std::memcpy(&value, type.Format().data() + offset, sizeof value);
    return value;
}

TEST(VideoInfoBlock, WholeBlockHoldsTheBitmapHeaderWhereThePlatformReadsIt) {
    const MediaType type = MakeVideoInfoType(kSubtypeMjpg, 1280, 960);
    EXPECT_EQ(type.MajorType(), kMediaTypeVideo);
    EXPECT_EQ(type.FormatType(), kFormatVideoInfo);
    ASSERT_EQ(type.FormatSize(), 88u);
    EXPECT_EQ(Read32(type, 48), 40);        // biSize
    EXPECT_EQ(Read32(type, 48 + 4), 1280);  // biWidth
    EXPECT_EQ(Read32(type, 48 + 8), 960);   // biHeight
    EXPECT_EQ(static_cast<std::uint32_t>(Read32(type, 48 + 16)), FourCc('M', 'J', 'P', 'G'));
    EXPECT_EQ(ReadFrameTime(type), kFrameTime15Fps);
}

TEST(VideoInfoBlock, Yuy2AndRgb32CarryTheirDepthAndCompression) {
    const MediaType yuy2 = MakeVideoInfoType(kSubtypeYuy2, 640, 480);
    EXPECT_EQ(yuy2.Format()[48 + 14], 16);
    EXPECT_EQ(static_cast<std::uint32_t>(Read32(yuy2, 48 + 16)), FourCc('Y', 'U', 'Y', '2'));
    EXPECT_EQ(Read32(yuy2, 48 + 20), 640 * 480 * 2);
    const MediaType rgb = MakeVideoInfoType(kSubtypeRgb32, 64, -32);
    EXPECT_EQ(rgb.Format()[48 + 14], 32);
    EXPECT_EQ(Read32(rgb, 48 + 16), 0);
    EXPECT_EQ(Read32(rgb, 48 + 20), 64 * 32 * 4);
}

struct ReadCase {
    const char* name;
    MediaType type;
    bool whole;          // IsWholeVideoInfo and ReadVideoInfo succeed
    bool frameReadable;  // ReadFrameSize succeeds
    FrameSize size;      // expected when readable
};

class VideoInfoReadTable : public testing::TestWithParam<ReadCase> {};

TEST_P(VideoInfoReadTable, ReadsOnlyWhatTheBlockHolds) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(IsWholeVideoInfo(c.type), c.whole);
    const std::optional<VideoInfoFields> info = ReadVideoInfo(c.type);
    ASSERT_EQ(info.has_value(), c.whole);
    if (c.whole) {
        EXPECT_EQ(info->size, c.size);
        EXPECT_EQ(info->fourcc, FourCc('M', 'J', 'P', 'G'));
        EXPECT_EQ(info->frameTime, kFrameTime15Fps);
    }
    FrameSize frame;
    ASSERT_EQ(ReadFrameSize(c.type, &frame), c.frameReadable);
    if (c.frameReadable) {
        EXPECT_EQ(frame, c.size);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, VideoInfoReadTable,
    testing::Values(
        ReadCase{"whole", MakeVideoInfoType(kSubtypeMjpg, 5184, 3888), true, true, {5184, 3888}},
        ReadCase{"short80",
                 MakeShortVideoInfoType(kSubtypeMjpg, 1280, 720, 80),
                 false,
                 true,
                 {1280, 720}},
        ReadCase{"short56", MakeShortVideoInfoType(kSubtypeMjpg, 1280, 720, 56), false, false, {}},
        ReadCase{"empty", MakeShortVideoInfoType(kSubtypeMjpg, 1280, 720, 0), false, false, {}},
        ReadCase{
            "videoInfo2", MakeVideoInfo2Type(kSubtypeMjpg, 1920, 1080), false, true, {1920, 1080}},
        ReadCase{
            "noFormat", MediaType(kMediaTypeVideo, kSubtypeMjpg, kFormatNone), false, false, {}},
        ReadCase{"videoInfoTypeWithOtherBlockSize88",
                 MediaType(kMediaTypeVideo, kSubtypeMjpg, kFormatVideoInfo2,
                           MakeVideoInfoType(kSubtypeMjpg, 10, 10).Format()),
                 false,
                 true,
                 {0, 0}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(VideoInfoBlock, ShortBlockKeepsTheBytesOfTheWholeOne) {
    const MediaType whole = MakeVideoInfoType(kSubtypeMjpg, 1280, 720);
    const MediaType shortType = MakeShortVideoInfoType(kSubtypeMjpg, 1280, 720, 80);
    ASSERT_EQ(shortType.FormatSize(), 80u);
    EXPECT_TRUE(
        std::equal(shortType.Format().begin(), shortType.Format().end(), whole.Format().begin()));
    EXPECT_NE(shortType, whole);
}

TEST(VideoInfoBlock, VideoInfo2PutsTheBitmapHeaderAfterItsOwnFields) {
    const MediaType type = MakeVideoInfo2Type(kSubtypeYuy2, 320, 240);
    ASSERT_EQ(type.FormatSize(), 112u);
    EXPECT_EQ(Read32(type, 72), 40);
    EXPECT_EQ(Read32(type, 76), 320);
    EXPECT_EQ(Read32(type, 80), 240);
}

TEST(Guid, TextFormMatchesTheDeviceContract) {
    EXPECT_EQ(contract::kExtensionUnitPropertySet.ToString(),
              QStringLiteral("{1229A78C-47B4-4094-B0CE-DB07386FB938}"));
    EXPECT_EQ(contract::kCaptureInterfaceCategory.ToString(),
              QStringLiteral("{65E8773D-8F56-11D0-A3B9-00A0C9223196}"));
    EXPECT_EQ(kPinCategoryStill.ToString(),
              QStringLiteral("{FB6C428A-0353-11D1-905F-0000C0CC16BA}"));
    EXPECT_NE(kPinCategoryStill, kPinCategoryCapture);
    EXPECT_TRUE(Guid{}.IsNull());
    EXPECT_FALSE(kFormatVideoInfo.IsNull());
}

TEST(DeviceContract, IdentificationBytesAndBusyCodes) {
    EXPECT_EQ(std::memcmp(contract::kIdentifyReply.data(), "REALSIL", 8), 0);
    EXPECT_EQ(contract::kIdentifyCommand[1], 0xD0);
    EXPECT_EQ(contract::kIdentifyCommand[4], 0x08);
    EXPECT_TRUE(contract::IsBusyStatus(MakeStatus(0x800705AA)));
    EXPECT_TRUE(contract::IsBusyStatus(MakeStatus(0x80070020)));
    EXPECT_FALSE(contract::IsBusyStatus(kFail));
}

}  // namespace
}  // namespace zv::media
