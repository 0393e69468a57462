#include "controls/xlabel_fixture.h"

#include <QElapsedTimer>

namespace zv {
namespace {

using namespace test;

TEST_F(XLabelTest, TextFlashHidesTheTextInTheBackgroundColourEveryOtherTick) {
    StatusLook();
    label->SetTextFlashing(true);
    EXPECT_EQ(CountPixels(Shot(), kRed), 0);  // phase 0: drawn in the brush's yellow
    EXPECT_EQ(CountPixels(Shot(), kYellow), 250 * 60);
    Tick();
    EXPECT_TRUE(label->FlashPhase());
    EXPECT_GT(CountPixels(Shot(), kRed), 50);
    Tick();
    EXPECT_FALSE(label->FlashPhase());
    EXPECT_EQ(CountPixels(Shot(), kRed), 0);
}

TEST_F(XLabelTest, TextFlashWithoutCustomBackgroundAlternatesWithBlack) {
    label->SetBold(true).SetPointSize(20).SetTextColor(kRed).SetText(u"No Device"_qs);
    label->SetTextFlashing(true);
    QImage shot = Shot();
    EXPECT_GT(CountPixels(shot, kBlack), 50);
    EXPECT_EQ(CountPixels(shot, kRed), 0);
    Tick();
    shot = Shot();
    EXPECT_EQ(CountPixels(shot, kBlack), 0);
    EXPECT_GT(CountPixels(shot, kRed), 50);
}

TEST_F(XLabelTest, GradientAfterASolidBackgroundFlashesTheTextInBlack) {
    StatusLook();
    label->SetBackground(kWhite, kWhite, true).SetTextFlashing(true);
    EXPECT_EQ(label->FlashColor(), kBlack);
    EXPECT_GT(CountPixels(Shot(), kBlack), 50);
}

TEST_F(XLabelTest, StoppingTextFlashShowsTheTextInItsColour) {
    StatusLook();
    label->SetTextFlashing(true);
    ASSERT_EQ(CountPixels(Shot(), kRed), 0);
    label->SetTextFlashing(false);
    EXPECT_FALSE(label->IsFlashTimerRunning());
    EXPECT_EQ(label->CurrentFlashKind(), CXLabel::FlashKind::kNone);
    EXPECT_GT(CountPixels(Shot(), kRed), 50);
}

TEST_F(XLabelTest, StoppingTheOtherFlashKeepsTheTextInItsPhase) {
    StatusLook();
    label->SetTextFlashing(true).SetBackgroundFlashing(false);
    EXPECT_FALSE(label->IsFlashTimerRunning());
    EXPECT_EQ(label->CurrentFlashKind(), CXLabel::FlashKind::kText);
    EXPECT_EQ(CountPixels(Shot(), kRed), 0);  // frozen in the hidden phase

    label->SetTextFlashing(true);
    Tick();
    label->SetBackgroundFlashing(false);
    EXPECT_TRUE(label->FlashPhase());
    EXPECT_EQ(label->CurrentFlashKind(), CXLabel::FlashKind::kText);
    EXPECT_GT(CountPixels(Shot(), kRed), 50);  // frozen in the shown phase
}

TEST_F(XLabelTest, OnlyTheFlashTimerTogglesAndStartingAgainBeginsHidden) {
    label->SetTextFlashing(true);
    QTimerEvent other(label->FlashTimerId() + 1000);
    QCoreApplication::sendEvent(label, &other);
    EXPECT_FALSE(label->FlashPhase());
    Tick();
    ASSERT_TRUE(label->FlashPhase());
    label->SetBackgroundFlashing(true);
    EXPECT_FALSE(label->FlashPhase());
    EXPECT_EQ(label->CurrentFlashKind(), CXLabel::FlashKind::kBackground);
}

TEST_F(XLabelTest, BackgroundFlashInvertsTheBackgroundWhileRunning) {
    StatusLook();
    label->SetBackgroundFlashing(true);
    const ColorRef inverse = Rgb(0, 0, 255);
    EXPECT_GT(CountPixels(Shot(), inverse), 250 * 60 / 2);
    EXPECT_GT(CountPixels(Shot(), kRed), 50);  // the text itself does not flash
    Tick();
    EXPECT_EQ(CountPixels(Shot(), inverse), 0);
    EXPECT_GT(CountPixels(Shot(), kYellow), 250 * 60 / 2);
    Tick();
    label->SetBackgroundFlashing(false);
    EXPECT_EQ(label->CurrentFlashKind(), CXLabel::FlashKind::kBackground);
    EXPECT_EQ(CountPixels(Shot(), inverse), 0);
}

TEST_F(XLabelTest, FlashTimerTicksEveryHalfSecondAndRepaintsEachTime) {
    ShowParent();
    StatusLook();
    QElapsedTimer clock;
    label->SetTextFlashing(true);
    clock.start();
    const int paintsAtStart = label->paints;
    ASSERT_TRUE(test::WaitUntil([this] { return label->FlashPhase(); }));
    // Coarse timers may fire up to 5 % early; none fires at half the period.
    EXPECT_GE(clock.elapsed(), CXLabel::kFlashPeriodMs * 9 / 10);
    EXPECT_GT(label->paints, paintsAtStart);
    const int paintsAfterOne = label->paints;
    ASSERT_TRUE(test::WaitUntil([this] { return !label->FlashPhase(); }));
    EXPECT_GT(label->paints, paintsAfterOne);
}

TEST_F(XLabelTest, StartDoesNotRepaintATickDoesAtOnceAndStopSchedulesOne) {
    ShowParent();
    const int before = label->paints;
    label->SetTextFlashing(true);
    EXPECT_EQ(label->paints, before);
    Tick();
    EXPECT_EQ(label->paints, before + 1);
    label->SetTextFlashing(false);
    EXPECT_TRUE(test::WaitUntil([&] { return label->paints > before + 1; }));
}

// Repainting ----------------------------------------------------------------------------------

TEST_F(XLabelTest, ChangesRepaintAtOnce) {
    ShowParent();
    int before = label->paints;
    label->SetTextColor(kRed);
    EXPECT_EQ(label->paints, before + 1);
    before = label->paints;
    label->SetBold(true).SetPointSize(20);
    EXPECT_EQ(label->paints, before + 2);
    // Operations that are not changes of appearance do not repaint.
    before = label->paints;
    label->SetLinkTarget(u"x"_qs).SetWebLink(true).SetHoverCursor(std::nullopt);
    EXPECT_EQ(label->paints, before);
}

TEST_F(XLabelTest, ATransparentLabelRepaintsTheParentBeneathItAtOnce) {
    ShowParent();
    label->SetTransparent(true);
    const int before = parent.paints;
    label->SetText(u"7"_qs);
    EXPECT_GT(parent.paints, before);
}

}  // namespace
}  // namespace zv
