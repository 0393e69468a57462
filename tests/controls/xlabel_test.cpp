#include "controls/xlabel.h"

#include "controls/print_log_font.h"
#include "support/wait.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimerEvent>
#include <QUrl>
#include <QWindow>

#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace zv {
namespace {

constexpr ColorRef kYellow = Rgb(255, 255, 0);
constexpr ColorRef kRed = Rgb(244, 67, 54);
constexpr ColorRef kBlack = Rgb(0, 0, 0);
constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kGrey = Rgb(128, 128, 128);

QRgb Pixel(ColorRef colour) {
    return qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

int CountPixels(const QImage& image, ColorRef colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += (image.pixel(x, y) & 0xFFFFFFu) == (Pixel(colour) & 0xFFFFFFu) ? 1 : 0;
        }
    }
    return count;
}

// Bounding box of the pixels that differ from `background`.
QRect InkBox(const QImage& image, ColorRef background) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFFu) != (Pixel(background) & 0xFFFFFFu)) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// A label that counts its paints.
class CountingLabel : public CXLabel {
public:
    using CXLabel::CXLabel;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        CXLabel::paintEvent(event);
    }
};

// A parent that counts its paints and fills itself with its window colour.
class CountingParent : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* /*event*/) override { ++paints; }
};

class XLabelTest : public testing::Test {
protected:
    XLabelTest() {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(13);
        parent.setFont(font);
        parent.resize(400, 200);
        label = new CountingLabel(&parent);
        label->setGeometry(10, 10, 250, 60);
        label->PreSubclassWindow(1014, CXLabel::kSsCenter);
    }

    QImage Shot() const { return label->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Sends one flash-timer tick, as the widget's timer does.
    void Tick() const {
        QTimerEvent tick(label->FlashTimerId());
        QCoreApplication::sendEvent(label, &tick);
    }

    // Big red text on yellow: the status line's look.
    void StatusLook(const QString& text = QStringLiteral("No Device")) const {
        label->SetBold(true).SetPointSize(20).SetTextColor(kRed).SetBackground(kYellow).SetText(
            text);
    }

    void ShowParent() {
        parent.show();
        ASSERT_TRUE(test::WaitUntil(
            [this] { return parent.windowHandle() && parent.windowHandle()->isExposed(); }));
    }

    CountingParent parent;
    CountingLabel* label = nullptr;
};

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

// Painting ------------------------------------------------------------------------------------

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

// Flashing ------------------------------------------------------------------------------------

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

// Clicks --------------------------------------------------------------------------------------

// Receives what the desktop would open.
class UrlRecorder : public QObject {
    Q_OBJECT

public slots:
    void Open(const QUrl& url) { opened.append(url); }

public:
    QList<QUrl> opened;
};

struct ClickCase {
    const char* name;
    std::function<void(CXLabel&)> configure;
    Qt::MouseButton button;
    const char* opened;  // nullptr: nothing
    bool notified;
};

class XLabelClickTest : public XLabelTest, public testing::WithParamInterface<ClickCase> {
protected:
    void SetUp() override {
        for (const char* scheme : {"http", "https", "mailto", "file"}) {
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "Open");
        }
        QObject::connect(label, &CXLabel::linkNotified, [this](int id, int code) {
            notifications.append({id, code});
        });
    }
    void TearDown() override {
        for (const char* scheme : {"http", "https", "mailto", "file"}) {
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        }
    }
    bool Click(Qt::MouseButton button) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5),
                          label->mapToGlobal(QPointF(5, 5)), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(label, &press);
        return press.isAccepted();
    }

    UrlRecorder recorder;
    QList<std::pair<int, int>> notifications;
};

TEST_P(XLabelClickTest, ClickOpensOrNotifiesAsTheLinkSays) {
    const ClickCase& test = GetParam();
    label->PreSubclassWindow(1012, CXLabel::kSsCenter);
    test.configure(*label);
    const bool accepted = Click(test.button);
    if (test.opened) {
        ASSERT_EQ(recorder.opened.size(), 1);
        EXPECT_EQ(recorder.opened.front().toString().toStdString(), test.opened);
    } else {
        EXPECT_TRUE(recorder.opened.isEmpty());
    }
    if (test.notified) {
        ASSERT_EQ(notifications.size(), 1);
        EXPECT_EQ(notifications.front(), std::make_pair(1012, CXLabel::kLinkClickCode));
        EXPECT_EQ(notifications.front().second, 0x8200);
    } else {
        EXPECT_TRUE(notifications.isEmpty());
    }
    // A label that takes no clicks lets them through to its parent.
    EXPECT_EQ(accepted,
              (label->Style() & CXLabel::kSsNotify) != 0 && test.button == Qt::LeftButton);
}

INSTANTIATE_TEST_SUITE_P(
    Table, XLabelClickTest,
    testing::Values(
        ClickCase{"WebLinkOpensItsText",
                  [](CXLabel& l) { l.SetText(u"zevuvora.example"_qs).SetWebLink(true); },
                  Qt::LeftButton, "http://zevuvora.example", false},
        ClickCase{"WebLinkOpensItsTarget",
                  [](CXLabel& l) {
                      l.SetText(u"Help"_qs)
                          .SetLinkTarget(u"https://zevuvora.example/help"_qs)
                          .SetWebLink(true);
                  },
                  Qt::LeftButton, "https://zevuvora.example/help", false},
        ClickCase{
            "MailLinkOpensMailto",
            [](CXLabel& l) {
                l.SetText(u"someone"_qs).SetLinkTarget(u"https://x.example"_qs).SetMailtoLink(true);
            },
            Qt::LeftButton, "mailto:someone", false},
        ClickCase{"NotifyingWebLinkOnlyNotifies",
                  [](CXLabel& l) { l.SetText(u"https://zevuvora.example"_qs).SetWebLink(true, 1); },
                  Qt::LeftButton, nullptr, true},
        ClickCase{"NotifyingMailLinkOnlyNotifies",
                  [](CXLabel& l) { l.SetText(u"someone"_qs).SetMailtoLink(true, 0x55); },
                  Qt::LeftButton, nullptr, true},
        ClickCase{"NoLinkTakesNoClick",
                  [](CXLabel& l) { l.SetText(u"https://zevuvora.example"_qs); }, Qt::LeftButton,
                  nullptr, false},
        ClickCase{
            "NotifyWithoutLinkTakesNoClick",
            [](CXLabel& l) { l.SetText(u"https://zevuvora.example"_qs).SetWebLink(false, 1); },
            Qt::LeftButton, nullptr, false},
        ClickCase{"RightButtonOpensNothing",
                  [](CXLabel& l) { l.SetText(u"zevuvora.example"_qs).SetWebLink(true); },
                  Qt::RightButton, nullptr, false},
        ClickCase{"WebLinkNeverOpensALocalFile",
                  [](CXLabel& l) { l.SetText(u"/usr/bin/xterm"_qs).SetWebLink(true); },
                  Qt::LeftButton, nullptr, false}),
    [](const testing::TestParamInfo<ClickCase>& caseInfo) {
        return std::string(caseInfo.param.name);
    });

}  // namespace
}  // namespace zv

#include "xlabel_test.moc"
