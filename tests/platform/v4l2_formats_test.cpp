#include "platform/devices/ks_property.h"
#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"
#include "platform/v4l2/v4l2_format_enumeration.h"
#include "platform/v4l2/v4l2_frame_check.h"
#include "platform/v4l2_scripted_io.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace zv::v4l2 {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Listed {
    Guid subtype;
    std::int32_t width;
    std::int32_t height;
    std::int64_t frameTime;
};

std::vector<Listed> Describe(const std::vector<V4l2Format>& formats) {
    std::vector<Listed> listed;
    for (const V4l2Format& format : formats) {
        const media::VideoInfoFields info =
            media::ReadVideoInfo(format.type).value_or(media::VideoInfoFields{{}, {-1, -1}, -1});
        EXPECT_EQ(format.type.MajorType(), media::kMediaTypeVideo);
        listed.push_back(
            {format.type.Subtype(), info.size.width, info.size.height, info.frameTime});
    }
    return listed;
}

bool operator==(const Listed& a, const Listed& b) {
    return a.subtype == b.subtype && a.width == b.width && a.height == b.height &&
           a.frameTime == b.frameTime;
}

void PrintTo(const Listed& l, std::ostream* out) {
    *out << (l.subtype == media::kSubtypeMjpg ? "MJPG " : "other ") << l.width << "x" << l.height
         << " @" << l.frameTime;
}

class FormatEnumeration : public testing::Test {
protected:
    std::vector<V4l2Format> Enumerate(std::vector<test::ScriptedFormat> formats,
                                      Status expected = kOk) {
        test::ScriptedNode node;
        node.formats = std::move(formats);
        io.AddNode(node);
        const int fd = io.Open(node.devnode);
        std::vector<V4l2Format> found;
        EXPECT_EQ(EnumerateCaptureFormats(io, fd, &found), expected);
        return found;
    }

    test::ScriptedV4l2Io io;
};

TEST_F(FormatEnumeration, MjpegAndYuyvInDriverOrderWithTheirShortestInterval) {
    const auto formats = Enumerate({
        {V4L2_PIX_FMT_MJPEG, {{640, 480}, {2592, 1944}}, {{1, 15}, {1, 30}}},
        {V4L2_PIX_FMT_H264, {{1920, 1080}}, {{1, 30}}},
        {V4L2_PIX_FMT_YUYV, {{640, 480}, {320, 240}}, {{1, 10}}},
    });
    EXPECT_EQ(Describe(formats), (std::vector<Listed>{
                                     {media::kSubtypeMjpg, 640, 480, 333333},
                                     {media::kSubtypeMjpg, 2592, 1944, 333333},
                                     {media::kSubtypeYuy2, 640, 480, 1000000},
                                     {media::kSubtypeYuy2, 320, 240, 1000000},
                                 }));
    EXPECT_EQ(formats[1].pixelFormat, V4L2_PIX_FMT_MJPEG);
    EXPECT_EQ(formats[1].intervalNumerator, 1u);
    EXPECT_EQ(formats[1].intervalDenominator, 30u);
    EXPECT_EQ(formats[2].pixelFormat, V4L2_PIX_FMT_YUYV);
}

TEST_F(FormatEnumeration, JpegCountsAsMjpegAndRepeatsAreLeftOut) {
    const auto formats = Enumerate({
        {V4L2_PIX_FMT_MJPEG, {{640, 480}, {640, 480}}, {{1, 30}}},
        {V4L2_PIX_FMT_JPEG, {{640, 480}, {800, 600}}, {{1, 30}}},
    });
    EXPECT_EQ(Describe(formats), (std::vector<Listed>{{media::kSubtypeMjpg, 640, 480, 333333},
                                                      {media::kSubtypeMjpg, 800, 600, 333333}}));
    EXPECT_EQ(formats[1].pixelFormat, V4L2_PIX_FMT_JPEG);
}

TEST_F(FormatEnumeration, SizeWithoutIntervalsGetsFifteenFramesPerSecond) {
    const auto formats = Enumerate({{V4L2_PIX_FMT_MJPEG, {{720, 720}}, {}}});
    ASSERT_EQ(formats.size(), 1u);
    EXPECT_EQ(media::ReadFrameTime(formats[0].type), media::kFrameTime15Fps);
    EXPECT_EQ(formats[0].intervalDenominator, 0u);
    EXPECT_EQ(formats[0].IntervalMs(67), 67);
}

TEST_F(FormatEnumeration, NothingOfferedIsAnEmptyList) {
    EXPECT_TRUE(Enumerate({{V4L2_PIX_FMT_NV12, {{640, 480}}, {{1, 30}}}}).empty());
    EXPECT_TRUE(Enumerate({}).empty());
}

TEST_F(FormatEnumeration, UnpluggedNodeFailsWithWhatWasFound) {
    test::ScriptedNode node;
    node.formats = {{V4L2_PIX_FMT_MJPEG, {{640, 480}}, {{1, 30}}}};
    io.AddNode(node);
    const int fd = io.Open(node.devnode);
    io.Unplug();
    std::vector<V4l2Format> found;
    EXPECT_EQ(EnumerateCaptureFormats(io, fd, &found), devices::kDeviceNotConnected);
    EXPECT_TRUE(found.empty());
}

V4l2Format Mjpeg(std::uint32_t width, std::uint32_t height) {
    V4l2Format format;
    format.pixelFormat = V4L2_PIX_FMT_MJPEG;
    format.width = width;
    format.height = height;
    format.intervalNumerator = 1;
    format.intervalDenominator = 30;
    format.type = MakeFormatType(V4L2_PIX_FMT_MJPEG, width, height, 1, 30);
    return format;
}

V4l2Format Yuyv(std::uint32_t width, std::uint32_t height) {
    V4l2Format format = Mjpeg(width, height);
    format.pixelFormat = V4L2_PIX_FMT_YUYV;
    format.type = MakeFormatType(V4L2_PIX_FMT_YUYV, width, height, 1, 30);
    return format;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> Sizes(const std::vector<V4l2Format>& list) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> sizes;
    for (const V4l2Format& format : list) {
        EXPECT_TRUE(format.IsMjpeg());
        sizes.emplace_back(format.width, format.height);
    }
    return sizes;
}

struct StillCase {
    const char* name;
    std::vector<UvcFrameSize> declared;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> expected;
};

class StillFormats : public testing::TestWithParam<StillCase> {};

TEST_P(StillFormats, MjpegOnlyAndOnlySizesTheStreamCanTake) {
    const std::vector<V4l2Format> capture = {Mjpeg(640, 480), Yuyv(2592, 1944), Mjpeg(2592, 1944),
                                             Mjpeg(3000, 3000), Yuyv(640, 480)};
    EXPECT_EQ(Sizes(SelectStillFormats(capture, GetParam().declared)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StillFormats,
    testing::Values(
        StillCase{"NoneDeclared", {}, {{640, 480}, {2592, 1944}, {3000, 3000}}},
        StillCase{
            "DeclaredInCaptureOrder", {{3000, 3000}, {2592, 1944}}, {{2592, 1944}, {3000, 3000}}},
        // A still size the stream has no format for cannot be taken by switching the stream.
        StillCase{"UnstreamableSizesLeftOut", {{4000, 3000}, {3000, 3000}}, {{3000, 3000}}},
        StillCase{
            "NoDeclaredSizeStreamable", {{4000, 3000}}, {{640, 480}, {2592, 1944}, {3000, 3000}}}),
    [](const testing::TestParamInfo<StillCase>& p) { return p.param.name; });

TEST(StillFormats, NoMjpegNoStill) {
    EXPECT_TRUE(SelectStillFormats({Yuyv(640, 480)}, {{640, 480}}).empty());
}

Bytes Jpeg(Bytes middle, std::size_t padding = 0) {
    Bytes bytes = {0xFF, 0xD8};
    bytes.insert(bytes.end(), middle.begin(), middle.end());
    bytes.insert(bytes.end(), {0xFF, 0xD9});
    bytes.insert(bytes.end(), padding, 0x00);
    return bytes;
}

struct FrameCase {
    const char* name;
    bool mjpeg;
    Bytes bytes;
    std::size_t bytesUsed;  // of bytes.size()
    std::size_t expected;
};

class CompleteFrames : public testing::TestWithParam<FrameCase> {};

TEST_P(CompleteFrames, OnlyWholeFramesHaveALength) {
    const FrameCase& c = GetParam();
    const V4l2Format format = c.mjpeg ? Mjpeg(4, 2) : Yuyv(4, 2);
    EXPECT_EQ(CompleteFrameLength(format, c.bytes.data(), c.bytesUsed), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CompleteFrames,
    testing::Values(FrameCase{"Jpeg", true, Jpeg({1, 2, 3}), 7, 7},
                    FrameCase{"JpegWithZeroPadding", true, Jpeg({1, 2, 3}, 5), 12, 7},
                    // Only the bytes the driver says it filled count.
                    FrameCase{"JpegCutByBytesUsed", true, Jpeg({1, 2, 3}), 6, 0},
                    FrameCase{"JpegWithoutEnd", true, {0xFF, 0xD8, 1, 2, 3, 4}, 6, 0},
                    FrameCase{"JpegWithoutStart", true, {0x00, 0xD8, 1, 0xFF, 0xD9}, 5, 0},
                    FrameCase{"JpegOtherPadding", true, {0xFF, 0xD8, 1, 0xFF, 0xD9, 0x11}, 6, 0},
                    FrameCase{"MarkersOnly", true, {0xFF, 0xD8, 0xFF, 0xD9}, 4, 4},
                    FrameCase{"TooShort", true, {0xFF, 0xD8, 0xD9}, 3, 0},
                    FrameCase{"AllZero", true, Bytes(16, 0), 16, 0},
                    FrameCase{"Empty", true, Bytes(1, 0), 0, 0},
                    FrameCase{"YuyvWhole", false, Bytes(16, 7), 16, 16},
                    FrameCase{"YuyvWithSlack", false, Bytes(20, 7), 20, 16},
                    FrameCase{"YuyvShort", false, Bytes(16, 7), 15, 0}),
    [](const testing::TestParamInfo<FrameCase>& p) { return p.param.name; });

TEST(V4l2Format, IntervalInMilliseconds) {
    V4l2Format format = Mjpeg(640, 480);
    EXPECT_EQ(format.IntervalMs(0), 34);  // 1/30 s, rounded up
    format.intervalNumerator = 2;
    format.intervalDenominator = 1;
    EXPECT_EQ(format.IntervalMs(0), 2000);
    format.intervalNumerator = 1000;
    EXPECT_EQ(format.IntervalMs(0), 60000);  // bounded
}

}  // namespace
}  // namespace zv::v4l2
