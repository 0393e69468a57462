#include "controls/print_log_font.h"
#include "controls/xlabel_fixture.h"

#include <QCursor>

#include <limits>

namespace zv {
namespace {

using namespace test;

TEST_F(XLabelTest, ConstructionGivesTheDefaults) {
    CXLabel fresh(&parent);
    EXPECT_EQ(fresh.TextColor(), FromQColor(fresh.palette().color(QPalette::WindowText)));
    EXPECT_EQ(fresh.HighlightColor(), kWhite);
    EXPECT_EQ(fresh.DefaultBackground(), FromQColor(fresh.palette().color(QPalette::Button)));
    EXPECT_FALSE(fresh.CustomBackground().has_value());
    EXPECT_EQ(fresh.BackgroundColor(), 0u);
    EXPECT_EQ(fresh.GradientEndColor(), 0u);
    EXPECT_FALSE(fresh.IsGradient());
    EXPECT_FALSE(fresh.IsTransparent());
    EXPECT_FALSE(fresh.IsText3D());
    EXPECT_FALSE(fresh.IsRotated());
    EXPECT_FALSE(fresh.FlashPhase());
    EXPECT_EQ(fresh.CurrentFlashKind(), CXLabel::FlashKind::kNone);
    EXPECT_FALSE(fresh.IsFlashTimerRunning());
    EXPECT_EQ(fresh.CurrentLinkKind(), CXLabel::LinkKind::kNone);
    EXPECT_EQ(fresh.NotifyOnClick(), 0u);
    EXPECT_TRUE(fresh.LinkTarget().isEmpty());
    EXPECT_FALSE(fresh.HoverCursor().has_value());
    EXPECT_TRUE(fresh.Text().isEmpty());
    EXPECT_EQ(fresh.Style(), 0u);
    EXPECT_EQ(fresh.ExStyle(), 0u);
}

TEST_F(XLabelTest, AttachingTakesTheControlsFontIdAndStyle) {
    EXPECT_EQ(label->ControlId(), 1014);
    EXPECT_EQ(label->Style(), CXLabel::kSsCenter);
    EXPECT_EQ(label->FontDescription().height, -13);
    EXPECT_EQ(label->FontDescription().weight, 400);
    EXPECT_EQ(label->FontDescription().faceName, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(label->DrawingFont().pixelSize(), 13);
    EXPECT_EQ(label->DrawingFont().family(), QStringLiteral("DejaVu Sans"));

    // A dialog font in points: 8 pt on the 96 dpi screen is 11 pixels high.
    QWidget dialog;
    QFont points(QStringLiteral("DejaVu Serif"));
    points.setPointSize(8);
    dialog.setFont(points);
    CXLabel other(&dialog);
    ASSERT_EQ(other.logicalDpiY(), 96);
    other.PreSubclassWindow(1012, CXLabel::kSsLeftNoWordWrap);
    EXPECT_EQ(other.FontDescription().height, -11);
    EXPECT_EQ(other.FontDescription().faceName, QStringLiteral("DejaVu Serif"));
}

TEST_F(XLabelTest, TextSetBeforeAttachingIsKept) {
    CXLabel early(&parent);
    early.SetText(QStringLiteral("Scan"));
    early.PreSubclassWindow(1001, CXLabel::kSsLeftNoWordWrap);
    EXPECT_EQ(early.Text(), QStringLiteral("Scan"));
}

TEST_F(XLabelTest, EveryOperationReturnsTheLabelSoThatAChainLandsOnIt) {
    const LogFont description{-20, 0, 0, 0, 600, 1, 0, 1, 0, u"DejaVu Sans Mono"_qs};
    CXLabel& chained = label->SetLogFont(description)
                           .SetBackground(kYellow, kRed, false)
                           .SetTextColor(kRed)
                           .SetText(u"17"_qs)
                           .SetBold(true)
                           .SetFaceName(u"DejaVu Serif"_qs, 0)
                           .SetUnderline(true)
                           .SetItalic(false)
                           .SetPointSize(32)
                           .SetStaticEdge(true)
                           .SetBorder(true)
                           .SetTransparent(false)
                           .SetTextFlashing(true)
                           .SetBackgroundFlashing(false)
                           .SetWebLink(true, 7)
                           .SetHoverCursor(QCursor(Qt::PointingHandCursor))
                           .SetText3D(true, true)
                           .SetRotation(45, false)
                           .SetHighlightColor(kGrey)
                           .SetMailtoLink(true, 0)
                           .SetLinkTarget(u"https://zevuvora.example"_qs);
    EXPECT_EQ(&chained, label);
    EXPECT_EQ(label->CustomBackground(), std::optional<ColorRef>(kYellow));
    EXPECT_EQ(label->GradientEndColor(), kRed);
    EXPECT_EQ(label->TextColor(), kRed);
    EXPECT_EQ(label->Text(), u"17"_qs);
    const LogFont expected{-43, 0, 450, 450, 700, 0, 1, 1, 0, u"DejaVu Serif"_qs};
    EXPECT_EQ(label->FontDescription(), expected);
    EXPECT_EQ(label->ExStyle(), CXLabel::kWsExStaticEdge | CXLabel::kWsExTransparent);
    EXPECT_EQ(label->Style(), CXLabel::kSsCenter | CXLabel::kWsBorder | CXLabel::kSsNotify);
    EXPECT_EQ(label->contentsMargins(), QMargins(2, 2, 2, 2));
    EXPECT_FALSE(label->IsTransparent());
    EXPECT_TRUE(label->testAttribute(Qt::WA_OpaquePaintEvent));
    EXPECT_FALSE(label->IsFlashTimerRunning());
    EXPECT_EQ(label->CurrentFlashKind(), CXLabel::FlashKind::kText);  // left by the other stop
    EXPECT_EQ(label->CurrentLinkKind(), CXLabel::LinkKind::kMail);
    EXPECT_EQ(label->NotifyOnClick(), 0u);
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(label->IsText3D());
    EXPECT_TRUE(label->IsText3DDownRight());
    EXPECT_FALSE(label->IsRotated());
    EXPECT_EQ(label->HighlightColor(), kGrey);
    EXPECT_EQ(label->LinkTarget(), u"https://zevuvora.example"_qs);
}

TEST_F(XLabelTest, FontOperationsEditTheDescriptionAndRebuildTheDrawingFont) {
    ASSERT_EQ(label->logicalDpiY(), 96);
    label->SetPointSize(20);
    EXPECT_EQ(label->FontDescription().height, -27);
    EXPECT_EQ(label->DrawingFont().pixelSize(), 27);
    label->SetBold(true);
    EXPECT_EQ(label->DrawingFont().weight(), QFont::Bold);
    label->SetBold(false).SetItalic(true).SetUnderline(true);
    EXPECT_EQ(label->FontDescription().weight, 400);
    EXPECT_EQ(label->DrawingFont().weight(), QFont::Normal);
    EXPECT_TRUE(label->DrawingFont().italic());
    EXPECT_TRUE(label->DrawingFont().underline());
    label->SetFaceName(QString(40, QLatin1Char('F')));
    EXPECT_EQ(label->FontDescription().faceName, QString(31, QLatin1Char('F')));

    // A whole description round-trips through the drawing font, save the character set.
    LogFont description{-20, 12, 0, 0, 600, 1, 0, 1, 0, u"DejaVu Sans Mono"_qs};
    label->SetLogFont(description);
    EXPECT_EQ(label->FontDescription(), description);
    LogFont drawn = LogFontFromQFont(label->DrawingFont(), 96);
    drawn.width = description.width;
    drawn.charSet = description.charSet;
    EXPECT_EQ(drawn, description);
    // A point size replaces only height and width.
    label->SetPointSize(32);
    description.height = -43;
    description.width = 0;
    EXPECT_EQ(label->FontDescription(), description);
    // Sizes and angles beyond 32 bits saturate or wrap a turn instead of overflowing.
    label->SetPointSize(std::numeric_limits<int>::max());
    EXPECT_EQ(label->FontDescription().height, -std::numeric_limits<int>::max());
    EXPECT_EQ(label->DrawingFont().pixelSize(), kMaxFontPixelSize);
    label->SetRotation(std::numeric_limits<int>::max());  // 5965232 turns + 127 degrees
    EXPECT_EQ(label->FontDescription().escapement, 1270);
}

TEST_F(XLabelTest, BackgroundOperationsSwapTheBrushAndTheGradient) {
    label->SetBackground(kYellow);
    EXPECT_EQ(label->FlashColor(), kYellow);
    label->SetBackground(kBlack, kRed, true);
    EXPECT_TRUE(label->IsGradient());
    EXPECT_FALSE(label->CustomBackground().has_value());
    EXPECT_EQ(label->BackgroundColor(), kBlack);
    EXPECT_EQ(label->FlashColor(), kBlack);  // no brush left: black
}

TEST_F(XLabelTest, StyleBitsFollowTheirOperations) {
    label->SetWebLink(true).SetWebLink(false, 1);
    EXPECT_EQ(label->Style(), CXLabel::kSsCenter);
    EXPECT_EQ(label->CurrentLinkKind(), CXLabel::LinkKind::kNone);
    EXPECT_EQ(label->NotifyOnClick(), 1u);
    label->SetMailtoLink(true).SetMailtoLink(false);
    EXPECT_EQ(label->Style(), CXLabel::kSsCenter);
    label->SetBorder(true).SetStaticEdge(true).SetBorder(false);
    EXPECT_EQ(label->contentsMargins(), QMargins(1, 1, 1, 1));
    label->SetStaticEdge(false);
    EXPECT_EQ(label->ExStyle(), 0u);
    EXPECT_EQ(label->contentsMargins(), QMargins());
    label->SetTransparent(true);
    EXPECT_FALSE(label->testAttribute(Qt::WA_OpaquePaintEvent));
    label->SetHoverCursor(QCursor(Qt::PointingHandCursor)).SetHoverCursor(std::nullopt);
    EXPECT_FALSE(label->testAttribute(Qt::WA_SetCursor));
}

}  // namespace
}  // namespace zv
