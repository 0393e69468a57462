#include "capture/format_selection.h"

#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zv {
namespace {

using media::kSubtypeMjpg;
using media::MakeShortVideoInfoType;
using media::MakeVideoInfo2Type;
using media::MakeVideoInfoType;
using media::MediaType;

FormatList ListOf(const std::vector<MediaType>& types) {
    FormatList list;
    for (const MediaType& type : types) {
        list.push_back(std::make_unique<MediaType>(type));
    }
    return list;
}

MediaType Mjpg(int width, int height) {
    return MakeVideoInfoType(kSubtypeMjpg, width, height);
}

struct SelectionCase {
    const char* name;
    std::vector<MediaType> formats;
    int filmSizeIndex;
    PinRole role;
    int expected;
};

class SelectionTable : public testing::TestWithParam<SelectionCase> {};

TEST_P(SelectionTable, TakesTheFirstFormatTheRuleAllows) {
    const SelectionCase& c = GetParam();
    EXPECT_EQ(SelectFormat(ListOf(c.formats), c.filmSizeIndex, c.role), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, SelectionTable,
    testing::Values(
        SelectionCase{"PreviewSkipsWideTakesFirstUnder1500",
                      {Mjpg(1920, 1080), Mjpg(1280, 720), Mjpg(640, 480)},
                      0,
                      PinRole::kCapture,
                      1},
        SelectionCase{
            "StillTakesFirstOver1500", {Mjpg(1280, 720), Mjpg(2592, 1728)}, 0, PinRole::kStill, 1},
        SelectionCase{"Still126TakesFirstSquare",
                      {Mjpg(2592, 1728), Mjpg(2000, 2000)},
                      1,
                      PinRole::kStill,
                      1},
        SelectionCase{"Preview126TakesFirstSquareEvenLarge",
                      {Mjpg(640, 480), Mjpg(3000, 3000), Mjpg(720, 720)},
                      1,
                      PinRole::kCapture,
                      1},
        SelectionCase{"Width1500NeverPreview", {Mjpg(1500, 1000)}, 0, PinRole::kCapture, -1},
        SelectionCase{"Width1500NeverStill", {Mjpg(1500, 1000)}, 0, PinRole::kStill, -1},
        SelectionCase{
            "SquareNeverFor135", {Mjpg(720, 720), Mjpg(5184, 3888)}, 0, PinRole::kStill, 1},
        SelectionCase{"VideoInfo2Skipped",
                      {MakeVideoInfo2Type(kSubtypeMjpg, 640, 480), Mjpg(800, 600)},
                      0,
                      PinRole::kCapture,
                      1},
        SelectionCase{
            "FilmSize110TakesNothing", {Mjpg(640, 480), Mjpg(720, 720)}, 2, PinRole::kCapture, -1},
        SelectionCase{
            "FilmSizeS8TakesNothing", {Mjpg(5184, 3888), Mjpg(3000, 3000)}, 3, PinRole::kStill, -1},
        SelectionCase{"NothingQualifies", {Mjpg(5184, 3888)}, 0, PinRole::kCapture, -1},
        SelectionCase{"EmptyList", {}, 0, PinRole::kStill, -1}),
    [](const testing::TestParamInfo<SelectionCase>& param) {
        return std::string(param.param.name);
    });

TEST(SelectFormat, ShortVideoInfoBlockIsSkippedWithItsIndexOnStandardOutput) {
    const FormatList list =
        ListOf({MakeVideoInfo2Type(kSubtypeMjpg, 640, 480), Mjpg(1920, 1080),
                MakeShortVideoInfoType(kSubtypeMjpg, 640, 480, 80), Mjpg(800, 600)});
    testing::internal::CaptureStdout();
    EXPECT_EQ(SelectFormat(list, 0, PinRole::kCapture), 3);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "[2] not FORMAT_VideoInfo\n");
}

TEST(SelectFormat, FilmSizesThatTakeNothingStillWalkAndReportShortBlocks) {
    const FormatList list = ListOf({MakeShortVideoInfoType(kSubtypeMjpg, 640, 480, 87),
                                    Mjpg(720, 720), MakeShortVideoInfoType(kSubtypeMjpg, 1, 1, 0)});
    testing::internal::CaptureStdout();
    EXPECT_EQ(SelectFormat(list, 2, PinRole::kCapture), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "[0] not FORMAT_VideoInfo\n[2] not FORMAT_VideoInfo\n");
}

TEST(SelectFormat, TheWalkEndsAtTheChosenFormat) {
    const FormatList list =
        ListOf({Mjpg(720, 720), MakeShortVideoInfoType(kSubtypeMjpg, 640, 480, 40)});
    testing::internal::CaptureStdout();
    EXPECT_EQ(SelectFormat(list, 1, PinRole::kCapture), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(SelectFormat, EmptyEntriesAreSkipped) {
    FormatList list;
    list.push_back(nullptr);
    list.push_back(std::make_unique<MediaType>(Mjpg(640, 480)));
    EXPECT_EQ(SelectFormat(list, 0, PinRole::kCapture), 1);
}

}  // namespace
}  // namespace zv
