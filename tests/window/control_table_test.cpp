#include "window/control_table.h"

#include <QLabel>
#include <QRadioButton>
#include <QWidget>

#include <array>
#include <gtest/gtest.h>

namespace zv {
namespace {

using enum ControlKind;

// Two radio groups separated by a group start on a non-radio control, with a hidden button and
// a static between buttons of the first group.
constexpr std::array kControls = {
    ControlTemplate{10, RadioButton, kStyleGroup, "A", 0, 0, 10, 10, {}},
    ControlTemplate{11, RadioButton, kStyleNone, "B", 0, 10, 10, 10, {}},
    ControlTemplate{12, Static, kStyleNone, "caption", 0, 20, 10, 10, {}},
    ControlTemplate{13, RadioButton, kStyleHidden, "C", 0, 30, 10, 10, {}},
    ControlTemplate{20, Static, kStyleGroup, "next group", 0, 40, 10, 10, {}},
    ControlTemplate{21, RadioButton, kStyleNone, "D", 0, 50, 10, 10, {}},
    ControlTemplate{22, RadioButton, kStyleNone, "E", 0, 60, 10, 10, {}},
};
constexpr DialogTemplate kDialog{1,      100, 100,
                                 "Sans", 8,   std::span<const ControlTemplate>(kControls)};

class ControlTableTest : public testing::Test {
protected:
    QWidget parent;
    ControlTable table{kDialog, &parent, DialogUnits(6, 13)};
};

TEST_F(ControlTableTest, GroupsRunFromOneGroupStartToTheNext) {
    EXPECT_EQ(table.RadioGroup(10), (std::vector<int>{10, 11, 13}));
    EXPECT_EQ(table.RadioGroup(20), (std::vector<int>{21, 22}));
    EXPECT_TRUE(table.RadioGroup(11).empty());
}

TEST_F(ControlTableTest, GroupValueCountsHiddenButtonsAndIsMinusOneWhenNoneChecked) {
    EXPECT_EQ(table.RadioGroupValue(10), -1);
    table.SetRadioGroupValue(10, 2);
    EXPECT_TRUE(table.IsRadioChecked(13));
    EXPECT_EQ(table.RadioGroupValue(10), 2);
    table.SetRadioGroupValue(10, 0);
    EXPECT_EQ(table.RadioGroupValue(10), 0);
    EXPECT_FALSE(table.IsRadioChecked(13));
    table.SetRadioGroupValue(10, 7);
    EXPECT_EQ(table.RadioGroupValue(10), -1);
}

TEST_F(ControlTableTest, GroupsAreIndependent) {
    table.SetRadioGroupValue(10, 1);
    table.SetRadioGroupValue(20, 1);
    EXPECT_EQ(table.RadioGroupValue(10), 1);
    EXPECT_EQ(table.RadioGroupValue(20), 1);
}

TEST_F(ControlTableTest, CheckRadioButtonWorksOnTheIdRange) {
    table.checkRadioButton(10, 13, 11);
    EXPECT_EQ(table.RadioGroupValue(10), 1);
    table.checkRadioButton(10, 13, 13);
    EXPECT_FALSE(table.IsRadioChecked(11));
    EXPECT_TRUE(table.IsRadioChecked(13));
    // An id outside the range unchecks the whole range.
    table.checkRadioButton(10, 13, 0);
    EXPECT_EQ(table.RadioGroupValue(10), -1);
}

TEST_F(ControlTableTest, ClickingARadioChecksOnlyItsGroup) {
    table.SetRadioGroupValue(20, 0);
    table.ControlAs<QRadioButton>(11)->click();
    EXPECT_EQ(table.RadioGroupValue(10), 1);
    EXPECT_EQ(table.RadioGroupValue(20), 0);
    table.ControlAs<QRadioButton>(10)->click();
    EXPECT_FALSE(table.IsRadioChecked(11));
}

TEST_F(ControlTableTest, TextsAndStatesByIdIgnoreUnknownIds) {
    table.setControlText(12, QStringLiteral("new"));
    EXPECT_EQ(table.controlText(12), QStringLiteral("new"));
    table.enableControl(21, false);
    EXPECT_FALSE(table.Control(21)->isEnabled());
    table.showControl(13, true);
    EXPECT_FALSE(table.Control(13)->isHidden());
    table.setControlText(99, QStringLiteral("nobody"));
    table.enableControl(99, false);
    EXPECT_EQ(table.Control(99), nullptr);
    EXPECT_TRUE(table.controlText(99).isEmpty());
}

TEST_F(ControlTableTest, RectanglesAreConvertedFromDialogUnits) {
    // 6 x 13 base units: x * 6 / 4, y * 13 / 8.
    EXPECT_EQ(table.Control(22)->geometry(), QRect(0, 97, 15, 16));
}

TEST(DialogUnitsTest, ConvertsWithTruncation) {
    const DialogUnits units(7, 15);
    EXPECT_EQ(units.ToPixels(643, 394, 3, 1), QRect(1125, 738, 5, 1));
}

}  // namespace
}  // namespace zv
