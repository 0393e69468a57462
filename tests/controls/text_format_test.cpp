#include "controls/text_format.h"

#include "controls/static_style.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

struct FormatCase {
    const char* name;
    std::uint32_t style;
    const char16_t* text;
    std::uint32_t expected;
};

class LabelTextFormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(LabelTextFormatTest, StyleAndTextGiveTheFormat) {
    const FormatCase& test = GetParam();
    EXPECT_EQ(LabelTextFormat(test.style, QString::fromUtf16(test.text)), test.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LabelTextFormatTest,
    testing::Values(
        FormatCase{"center", ss::kCenter, u"No Device", 0x11},
        FormatCase{"right", ss::kRight, u"7", 0x12},
        FormatCase{"left_no_word_wrap", ss::kLeftNoWordWrap, u"a b", 0x00},
        FormatCase{"left", ss::kLeft, u"a b", 0x10},
        FormatCase{"simple", 0xB, u"a", 0x10},       // any other type: word break
        FormatCase{"owner_type", 0x1F, u"a", 0x10},  // all type bits
        FormatCase{"empty", ss::kCenter, u"", 0x11},
        // Bits above the type mask do not change the type.
        FormatCase{"notify_center", ss::kCenter | ss::kNotify | ss::kWsBorder, u"a", 0x11},
        // A tab adds tab expansion to every type.
        FormatCase{"center_tab", ss::kCenter, u"a\tb", 0x51},
        FormatCase{"right_tab", ss::kRight, u"\t", 0x52},
        FormatCase{"left_tab", ss::kLeft, u"a\t", 0x50},
        FormatCase{"no_wrap_tab", ss::kLeftNoWordWrap, u"a\tb", 0x40},
        // SS_CENTERIMAGE replaces the type's format, tab included.
        FormatCase{"center_image", ss::kCenterImage, u"one line", 0x25},
        FormatCase{"center_image_right", ss::kCenterImage | ss::kRight, u"x\ty", 0x25},
        FormatCase{"center_image_crlf", ss::kCenterImage | ss::kCenter, u"one\r\ntwo", 0x01},
        FormatCase{"center_image_lone_lf", ss::kCenterImage, u"one\ntwo", 0x25},
        FormatCase{"center_image_lone_cr", ss::kCenterImage, u"one\rtwo", 0x25},
        FormatCase{"center_image_empty", ss::kCenterImage, u"", 0x25}),
    [](const testing::TestParamInfo<FormatCase>& caseInfo) {
        return std::string(caseInfo.param.name);
    });

}  // namespace
}  // namespace zv
