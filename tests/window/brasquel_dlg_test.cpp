#include "window/brasquel_dlg.h"

#include "controls/xlabel.h"
#include "resources/dialog_template.h"
#include "settings/selected_language.h"
#include "window/last_scans_strip.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace zv {
namespace {

class ScannerWindowTest : public testing::Test {
protected:
    void SetUp() override {
        // The layout's texts are the English ones; other languages are tested with the handlers.
        SetSelectedLanguage(0x0409);
        window = std::make_unique<CBrasquelDlg>();
        window->OnInitDialog();
        window->show();
    }

    std::unique_ptr<CBrasquelDlg> window;
};

// The widget class each kind of template control becomes.
bool HasKind(const QWidget* widget, const ControlTemplate& control) {
    switch (control.kind) {
        case ControlKind::PushButton:
            return qobject_cast<const QPushButton*>(widget) != nullptr;
        case ControlKind::GroupBox:
            return qobject_cast<const QGroupBox*>(widget) != nullptr;
        case ControlKind::Static:
            return qobject_cast<const QLabel*>(widget) != nullptr ||
                   qobject_cast<const CXLabel*>(widget) != nullptr;
        case ControlKind::Trackbar:
            return qobject_cast<const QSlider*>(widget) != nullptr;
        case ControlKind::RadioButton:
            return qobject_cast<const QRadioButton*>(widget) != nullptr;
        case ControlKind::Edit:
            return qobject_cast<const QLineEdit*>(widget) != nullptr;
        case ControlKind::ComboBox:
            return qobject_cast<const QComboBox*>(widget) != nullptr;
        case ControlKind::Picture:
            return qobject_cast<const QLabel*>(widget) != nullptr;
    }
    return false;
}

QString ShownText(const ControlTable& controls, int id) {
    if (const auto* label = controls.ControlAs<CXLabel>(id)) {
        return label->Text();
    }
    return controls.controlText(id);
}

TEST_F(ScannerWindowTest, EveryTemplateControlIsBuiltWhereTheTemplatePutsIt) {
    const DialogTemplate& layout = ScannerWindowTemplate();
    const DialogUnits units(window->font());
    const ControlTable& controls = window->Controls();
    ASSERT_EQ(controls.Ids().size(), layout.controls.size());
    for (const ControlTemplate& control : layout.controls) {
        SCOPED_TRACE(control.id);
        const QWidget* widget = controls.Control(control.id);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(HasKind(widget, control));
        EXPECT_EQ(widget->geometry(),
                  units.ToPixels(control.x, control.y, control.width, control.height));
        EXPECT_EQ(widget->isHidden(), (control.style & kStyleHidden) != 0);
        EXPECT_EQ(widget->isEnabled(), CBrasquelDlg::IsAlwaysEnabled(control.id));
        if (control.id == ctl::kSaveFolder) {
            EXPECT_EQ(ShownText(controls, control.id), window->SaveFolder());
        } else if (control.id == ctl::kNoDeviceLabel) {
            // The layout's "No Device" gives way to the language's text at once.
            EXPECT_EQ(ShownText(controls, control.id),
                      QStringLiteral("Please plug in film scanner"));
        } else if (control.kind != ControlKind::ComboBox && control.kind != ControlKind::Picture) {
            EXPECT_EQ(ShownText(controls, control.id),
                      QString::fromUtf8(control.text.data(), qsizetype(control.text.size())));
        }
    }
}

TEST_F(ScannerWindowTest, WindowHasTitleIconAndTemplateSize) {
    const DialogTemplate& layout = ScannerWindowTemplate();
    const DialogUnits units(window->font());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("VORNAKEL!"));
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(window->height(), units.ToPixelsY(layout.height));
    // The last scans lie right of the template's controls; the window is wider by them alone.
    const QRect strip = window->LastScans().geometry();
    EXPECT_EQ(strip.left(), units.ToPixelsX(layout.width));
    EXPECT_GE(strip.width(), window->LastScans().Tile(0)->width());
    EXPECT_EQ(window->width(), strip.right() + 1 + units.ToPixelsX(7));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->font().pointSize(), layout.fontPoints);
}

TEST_F(ScannerWindowTest, ResizingKeepsControlsInPlace) {
    const QRect scan = window->Controls().Control(ctl::kScan)->geometry();
    window->resize(window->width() + 200, window->height() + 100);
    EXPECT_EQ(window->Controls().Control(ctl::kScan)->geometry(), scan);
}

TEST_F(ScannerWindowTest, StartsInTheNoDeviceStateWithDefaults) {
    EXPECT_FALSE(window->IsScannerConnected());
    EXPECT_EQ(window->FilmSizeIndex(), 0);
    EXPECT_EQ(window->ResolutionIndex(), 0);
    EXPECT_TRUE(window->SaveFolder().endsWith(QStringLiteral("/ZevuVora/")));
    const ControlTable& controls = window->Controls();
    EXPECT_TRUE(controls.IsRadioChecked(ctl::kSlide));
    EXPECT_TRUE(controls.IsRadioChecked(ctl::kResolutionLow));
    EXPECT_TRUE(controls.IsRadioChecked(ctl::kFilmSize135));
    EXPECT_FALSE(controls.Control(ctl::kNoDevicePicture)->isHidden());
    EXPECT_FALSE(controls.Control(ctl::kNoDeviceLabel)->isHidden());
    ASSERT_NE(window->StillFormatRecord(), nullptr);
    EXPECT_EQ(window->StillFormatRecord()->width, 0);
    EXPECT_EQ(window->StillFormatRecord()->height, 0);
}

TEST_F(ScannerWindowTest, LabelsAreConfiguredForTheNoDeviceState) {
    EXPECT_EQ(window->NoDeviceLabel().TextColor(), Rgb(244, 67, 54));
    EXPECT_EQ(window->NoDeviceLabel().Style() & 0x1F, CXLabel::kSsCenter);
    EXPECT_EQ(window->StatusLine().Style() & 0x1F, CXLabel::kSsCenter);
    EXPECT_EQ(window->PreviewArea().Style() & 0x1F, CXLabel::kSsLeftNoWordWrap);
    EXPECT_TRUE(window->StatusLine().Text().isEmpty());
    EXPECT_TRUE(window->PreviewArea().Text().isEmpty());
    EXPECT_EQ(window->NoDeviceLabel().ControlId(), ctl::kNoDeviceLabel);
}

TEST_F(ScannerWindowTest, ExchangeReadsRadiosAndFolderOnlyWhenAsked) {
    ControlTable& controls = window->Controls();
    controls.checkRadioButton(ctl::kFilmSize135, ctl::kFilmSize126, ctl::kFilmSize126);
    controls.checkRadioButton(ctl::kResolutionLow, ctl::kResolutionHigh, ctl::kResolutionHigh);
    controls.setControlText(ctl::kSaveFolder, QStringLiteral("/tmp/elsewhere"));
    EXPECT_EQ(window->FilmSizeIndex(), 0);
    EXPECT_NE(window->SaveFolder(), QStringLiteral("/tmp/elsewhere"));

    window->UpdateData(true);
    EXPECT_EQ(window->FilmSizeIndex(), 1);
    EXPECT_EQ(window->ResolutionIndex(), 1);
    EXPECT_EQ(window->SaveFolder(), QStringLiteral("/tmp/elsewhere"));

    controls.checkRadioButton(ctl::kSlide, ctl::kBlackWhite, 0);
    window->UpdateData(true);
    EXPECT_EQ(window->FilmTypeRadioIndex(), -1);
}

// Every way of ending the window runs the close sequence exactly once.
class CloseTest : public ScannerWindowTest,
                  public testing::WithParamInterface<std::function<void(CBrasquelDlg&)>> {};

TEST_P(CloseTest, RunsTheCloseSequenceOnce) {
    QSignalSpy started(window.get(), &CBrasquelDlg::closeSequenceStarted);
    GetParam()(*window);
    EXPECT_EQ(started.count(), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->StillFormatRecord(), nullptr);
    EXPECT_EQ(window->result(), QDialog::Rejected);

    window->close();
    window->OnClose();
    EXPECT_EQ(started.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Paths, CloseTest,
                         testing::Values([](CBrasquelDlg& w) { w.close(); },
                                         [](CBrasquelDlg& w) {
                                             QTest::keyClick(&w, Qt::Key_Escape);
                                         },
                                         [](CBrasquelDlg& w) { static_cast<QDialog&>(w).reject(); },
                                         [](CBrasquelDlg& w) { w.OnClose(); }));

TEST_F(ScannerWindowTest, EnterAndAcceptNeverCloseTheWindow) {
    QSignalSpy started(window.get(), &CBrasquelDlg::closeSequenceStarted);
    QTest::keyClick(window.get(), Qt::Key_Return);
    QTest::keyClick(window->Controls().Control(ctl::kSaveFolder), Qt::Key_Enter);
    static_cast<QDialog&>(*window).accept();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(started.count(), 0);
}

}  // namespace
}  // namespace zv
