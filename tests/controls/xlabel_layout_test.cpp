#include "controls/xlabel_fixture.h"

#include <QFontMetrics>

#include <string>

namespace zv {
namespace {

using namespace test;

struct AlignCase {
    const char* name;
    std::uint32_t style;
    const char16_t* text;
    int left, right;  // expected ink edges, -1: not checked
    int centreX;      // expected ink centre, -1: not checked
    int centreY;      // expected ink centre, -1: not checked
    bool top;         // ink starts in the top line
};

class XLabelAlignTest : public XLabelTest, public testing::WithParamInterface<AlignCase> {};

TEST_P(XLabelAlignTest, StyleDecidesWhereTheTextGoes) {
    const AlignCase& test = GetParam();
    label->PreSubclassWindow(1014, test.style);
    label->SetTextColor(kBlack).SetBackground(kWhite).SetText(QString::fromUtf16(test.text));
    const QRect ink = InkBox(Shot(), kWhite);
    ASSERT_FALSE(ink.isEmpty());
    if (test.left >= 0) {
        EXPECT_NEAR(ink.left(), test.left, 2);
    }
    if (test.right >= 0) {
        EXPECT_NEAR(ink.right(), test.right, 2);
    }
    if (test.centreX >= 0) {
        EXPECT_NEAR(ink.center().x(), test.centreX, 2);
    }
    if (test.centreY >= 0) {
        EXPECT_NEAR(ink.center().y(), test.centreY, 2);
    }
    if (test.top) {
        EXPECT_LT(ink.top(), QFontMetrics(label->DrawingFont()).height());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, XLabelAlignTest,
    testing::Values(
        AlignCase{"left", CXLabel::kSsLeft, u"MMM", 0, -1, -1, -1, true},
        AlignCase{"center", CXLabel::kSsCenter, u"MMM", -1, -1, 125, -1, true},
        AlignCase{"right", CXLabel::kSsRight, u"MMM", -1, 249, -1, -1, true},
        AlignCase{"left_no_wrap", CXLabel::kSsLeftNoWordWrap, u"MMM", 0, -1, -1, -1, true},
        AlignCase{"center_image", CXLabel::kSsCenterImage, u"MMM", -1, -1, 125, 30, false},
        AlignCase{"center_image_two_lines", CXLabel::kSsCenterImage, u"MMM\r\nMMM", -1, -1, 125, -1,
                  true}),
    [](const testing::TestParamInfo<AlignCase>& caseInfo) {
        return std::string(caseInfo.param.name);
    });

TEST_F(XLabelTest, WordWrapFollowsTheStyle) {
    label->setGeometry(10, 10, 100, 100);
    const QString words = u"MMMM MMMM MMMM MMMM MMMM MMMM"_qs;
    const int lineHeight = QFontMetrics(label->DrawingFont()).height();
    label->PreSubclassWindow(1014, CXLabel::kSsLeft);
    label->SetTextColor(kBlack).SetBackground(kWhite).SetText(words);
    const QRect wrapped = InkBox(Shot(), kWhite);
    EXPECT_GT(wrapped.height(), 2 * lineHeight);

    label->PreSubclassWindow(1014, CXLabel::kSsLeftNoWordWrap);
    const QRect single = InkBox(Shot(), kWhite);
    EXPECT_LT(single.height(), lineHeight);
    EXPECT_EQ(single.right(), 99);  // runs on and is cut at the label's edge
}

TEST_F(XLabelTest, CentredTextWithATabExpandsItAndWraps) {
    label->SetTextColor(kBlack).SetBackground(kWhite);
    const QFontMetrics metrics(label->DrawingFont());
    const int stop = 8 * metrics.averageCharWidth();
    label->SetText(u"M\tM"_qs);
    const QRect tabbed = InkBox(Shot(), kWhite);
    // The second M starts at the first tab stop.
    EXPECT_NEAR(tabbed.width(), stop + metrics.horizontalAdvance(QLatin1Char('M')), 3);
    EXPECT_NEAR(tabbed.center().x(), 125, 2);

    label->setGeometry(10, 10, 120, 100);
    label->SetText(u"MMMM\tMMMM MMMM MMMM"_qs);
    EXPECT_GT(InkBox(Shot(), kWhite).height(), metrics.height());
}

TEST_F(XLabelTest, Text3DDrawsTheHighlightOnePixelOffInItsDirection) {
    label->SetTextColor(kBlack).SetHighlightColor(kWhite).SetBackground(kGrey);
    label->SetText(u"MMM"_qs).SetPointSize(20);
    const QRect flat = InkBox(Shot(), kGrey);
    ASSERT_FALSE(flat.isEmpty());
    EXPECT_EQ(CountPixels(Shot(), kWhite), 0);

    label->SetText3D(true, false);
    QImage shot = Shot();
    EXPECT_GT(CountPixels(shot, kWhite), 0);
    EXPECT_EQ(InkBox(shot, kGrey), flat.adjusted(-1, -1, 0, 0));  // up and left

    label->SetText3D(true, true);
    shot = Shot();
    EXPECT_GT(CountPixels(shot, kWhite), 0);
    EXPECT_EQ(InkBox(shot, kGrey), flat.adjusted(0, 0, 1, 1));  // down and right
}

struct RotationCase {
    int degrees;
    QRect allowed;  // where the ink of a text drawn from the centre (100, 50) may lie
};

class XLabelRotationTest : public XLabelTest, public testing::WithParamInterface<RotationCase> {};

TEST_P(XLabelRotationTest, TextStartsAtTheCentreAndRunsAlongTheEscapement) {
    label->setGeometry(10, 10, 200, 100);
    // The format and the 3D pass play no part in rotated text.
    label->PreSubclassWindow(1014, CXLabel::kSsRight);
    label->SetTextColor(kBlack).SetBackground(kWhite).SetText3D(true).SetHighlightColor(kRed);
    label->SetText(u"HHH"_qs).SetRotation(GetParam().degrees, true);
    const QImage shot = Shot();
    const QRect ink = InkBox(shot, kWhite);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(GetParam().allowed.contains(ink))
        << ink.left() << "," << ink.top() << " - " << ink.right() << "," << ink.bottom();
    EXPECT_EQ(CountPixels(shot, kRed), 0);
}

// "H" has no descender: its ink lies on the side of the baseline its tops point to.
INSTANTIATE_TEST_SUITE_P(Table, XLabelRotationTest,
                         testing::Values(RotationCase{0, QRect(QPoint(99, 0), QPoint(199, 50))},
                                         RotationCase{90, QRect(QPoint(0, 0), QPoint(101, 51))},
                                         RotationCase{180, QRect(QPoint(0, 49), QPoint(101, 99))},
                                         RotationCase{270,
                                                      QRect(QPoint(99, 49), QPoint(199, 99))}));

}  // namespace
}  // namespace zv
