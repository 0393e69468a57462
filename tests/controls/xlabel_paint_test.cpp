#include "controls/xlabel_fixture.h"

namespace zv {
namespace {

using namespace test;

TEST_F(XLabelTest, SolidBackgroundFillsTheWholeLabel) {
    label->SetBackground(kYellow);
    const QImage shot = Shot();
    EXPECT_EQ(CountPixels(shot, kYellow), 250 * 60);
}

TEST_F(XLabelTest, WithoutCustomBackgroundTheButtonFaceShowsAndFollowsColourChanges) {
    const ColorRef face = FromQColor(label->palette().color(QPalette::Button));
    EXPECT_EQ(CountPixels(Shot(), face), 250 * 60);

    QPalette changed = parent.palette();
    changed.setColor(QPalette::Button, QColor(10, 120, 30));
    parent.setPalette(changed);
    EXPECT_EQ(label->DefaultBackground(), Rgb(10, 120, 30));
    EXPECT_EQ(CountPixels(Shot(), Rgb(10, 120, 30)), 250 * 60);

    // A custom background is not a system colour.
    label->SetBackground(kYellow);
    changed.setColor(QPalette::Button, QColor(1, 2, 3));
    parent.setPalette(changed);
    EXPECT_EQ(CountPixels(Shot(), kYellow), 250 * 60);
}

TEST_F(XLabelTest, GradientRunsFromTheBackgroundToOneStepShortOfTheEnd) {
    label->SetBackground(kBlack, Rgb(255, 0, 0), true);
    const QImage shot = Shot();
    for (int y : {0, 30, 59}) {
        EXPECT_EQ(shot.pixel(0, y), qRgb(0, 0, 0));
        EXPECT_EQ(shot.pixel(197, y), qRgb(249, 0, 0));
        EXPECT_EQ(shot.pixel(198, y), qRgb(252, 0, 0));
        EXPECT_EQ(shot.pixel(249, y), qRgb(252, 0, 0));
    }
    // A solid background afterwards replaces the gradient.
    label->SetBackground(kYellow);
    EXPECT_EQ(CountPixels(Shot(), kYellow), 250 * 60);
}

TEST_F(XLabelTest, TextIsDrawnInTheTextColour) {
    StatusLook();
    const QImage shot = Shot();
    EXPECT_GT(CountPixels(shot, kRed), 50);
    label->SetText(QString());
    EXPECT_EQ(CountPixels(Shot(), kRed), 0);
    EXPECT_EQ(CountPixels(Shot(), kYellow), 250 * 60);
}

TEST_F(XLabelTest, TransparentLabelShowsTheParentBeneathItsText) {
    parent.setAutoFillBackground(true);
    QPalette green = parent.palette();
    green.setColor(QPalette::Window, QColor(0, 200, 0));
    parent.setPalette(green);
    label->SetBackground(kYellow).SetTextColor(kRed).SetPointSize(20).SetText(u"No Device"_qs);

    QImage shot = parent.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(12, 12), Pixel(kYellow));
    label->SetTransparent(true);
    shot = parent.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage area = shot.copy(label->geometry());
    EXPECT_EQ(CountPixels(area, kYellow), 0);
    EXPECT_GT(CountPixels(area, Rgb(0, 200, 0)), 250 * 60 / 2);
    EXPECT_GT(CountPixels(area, kRed), 50);
    // Its own client image leaves every background pixel clear.
    const QImage client = label->RenderClient();
    EXPECT_EQ(qAlpha(client.pixel(0, 0)), 0);
}

class XLabelFrameTest : public XLabelTest {
protected:
    void SetUp() override {
        QPalette colours = parent.palette();
        colours.setColor(QPalette::WindowText, QColor(1, 2, 3));
        colours.setColor(QPalette::Dark, QColor(100, 0, 0));
        colours.setColor(QPalette::Light, QColor(0, 100, 0));
        parent.setPalette(colours);
        label->SetBackground(kYellow);
    }
    static constexpr QRgb kFrame = 0xFF010203;
    static constexpr QRgb kDark = 0xFF640000;
    static constexpr QRgb kLight = 0xFF006400;
};

TEST_F(XLabelFrameTest, BorderIsAPlainLineAndStaticEdgeIsSunken) {
    label->SetBorder(true);
    QImage shot = Shot();
    for (const QPoint& edge : {QPoint(0, 0), QPoint(125, 0), QPoint(249, 30), QPoint(249, 59),
                               QPoint(125, 59), QPoint(0, 30)}) {
        EXPECT_EQ(shot.pixel(edge), kFrame) << edge.x() << "," << edge.y();
    }
    EXPECT_EQ(CountPixels(shot, kYellow), 248 * 58);

    label->SetBorder(false).SetStaticEdge(true);
    shot = Shot();
    EXPECT_EQ(shot.pixel(0, 0), kDark);
    EXPECT_EQ(shot.pixel(248, 0), kDark);   // top, all but the last column
    EXPECT_EQ(shot.pixel(0, 58), kDark);    // left, all but the last row
    EXPECT_EQ(shot.pixel(1, 59), kLight);   // bottom
    EXPECT_EQ(shot.pixel(249, 1), kLight);  // right
    EXPECT_EQ(CountPixels(shot, kYellow), 248 * 58);
}

TEST_F(XLabelFrameTest, BorderIsOutsideTheStaticEdgeAndTheGradientStartsWithin) {
    label->SetBorder(true).SetStaticEdge(true).SetBackground(kBlack, Rgb(255, 0, 0), true);
    const QImage shot = Shot();
    EXPECT_EQ(shot.pixel(0, 0), kFrame);
    EXPECT_EQ(shot.pixel(1, 1), kDark);
    EXPECT_EQ(shot.pixel(248, 58), kLight);
    EXPECT_EQ(shot.pixel(249, 59), kFrame);
    // The client area is 246 wide: 100 bands of 2, the last from 2 + 198.
    EXPECT_EQ(shot.pixel(2, 30), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(200, 30), qRgb(252, 0, 0));
    EXPECT_EQ(shot.pixel(199, 30), qRgb(249, 0, 0));
    // Removing both gives the pixels back to the client area.
    label->SetBorder(false).SetStaticEdge(false);
    EXPECT_EQ(Shot().pixel(0, 0), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace zv
