// The scanner window's film type buttons when the scanner cannot take the film type: held by
// another program (the film type stays, the window says the device is locked), or not at all
// (the buttons are off and say why, once), and the wait cursor while the film type changes.
// The scanner is a filter with scripted properties and no pins: connected without a preview.

#include "device/property_slots.h"
#include "device/scripted_properties.h"
#include "platform/devices/camera_control.h"
#include "platform/devices/scanner_contract.h"
#include "platform/devices/video_proc_amp.h"
#include "platform/media/filter.h"
#include "window/brasquel_dlg.h"

#include <QCursor>
#include <QGuiApplication>
#include <QStringList>

#include <gtest/gtest.h>

namespace zv {
namespace {

constexpr int kRoll = devices::kCameraControlRoll;
constexpr char kLocked[] = "Device is locked by another application";

class ScriptedScanner : public media::Filter {
public:
    ScriptedScanner() : media::Filter(QStringLiteral("Scripted Scanner")) {
        for (const int index : {devices::kVideoProcAmpBrightness, devices::kVideoProcAmpContrast,
                                devices::kVideoProcAmpSaturation, devices::kVideoProcAmpGamma}) {
            video.properties[index] = {.minimum = -100, .maximum = 500};
        }
        for (const int index : {devices::kCameraControlPan, devices::kCameraControlTilt,
                                devices::kCameraControlZoom}) {
            camera.properties[index] = {.minimum = 0, .maximum = 255};
        }
        camera.properties[kRoll] = {.minimum = 0, .maximum = 1, .value = 0};
    }
    devices::VideoProcAmp* GetVideoProcAmp() override { return &video; }
    devices::CameraControl* GetCameraControl() override { return &camera; }

    test::ScriptedProperties<devices::VideoProcAmp> video;
    test::ScriptedProperties<devices::CameraControl> camera;
};

class FilmTypeAccessTest : public testing::Test {
protected:
    FilmTypeAccessTest() {
        window.SetErrorReporter([this](const QString& error) { reported << error; });
        window.OnInitDialog();
    }

    bool Enabled(int id) const { return window.Controls().IsControlEnabled(id); }
    QString ToolTip(int id) const { return window.Controls().Control(id)->toolTip(); }

    std::shared_ptr<ScriptedScanner> scanner = std::make_shared<ScriptedScanner>();
    QStringList reported;
    CBrasquelDlg window;
};

TEST_F(FilmTypeAccessTest, HeldByAnotherProgramTheFilmTypeStaysAndTheWindowSaysSo) {
    scanner->camera.properties[kRoll].setResult = contract::kBusySharingViolation;
    window.ConnectScanner(scanner);
    // At connection the capture start tells of a busy scanner, not the film type.
    EXPECT_TRUE(reported.isEmpty());
    window.OnFilmTypeClicked(ctl::kSlide);
    EXPECT_EQ(reported, QStringList{QString::fromLatin1(kLocked)});
    EXPECT_EQ(window.FilmType(), 1);
    EXPECT_TRUE(window.Controls().IsRadioChecked(ctl::kNegative));
    EXPECT_FALSE(window.Controls().IsRadioChecked(ctl::kSlide));
    EXPECT_TRUE(Enabled(ctl::kSlide));
    EXPECT_TRUE(ToolTip(ctl::kSlide).isEmpty());
}

TEST_F(FilmTypeAccessTest, FilmTypeThatCannotBeSetTurnsAllThreeOffAndSaysWhyOnce) {
    scanner->camera.properties.erase(kRoll);
    scanner->camera.unavailableReason = QStringLiteral(
        "no write access to /dev/bus/usb/001/004: install the udev rule "
        "70-zevuvora-scanner.rules");
    for (int connection = 0; connection < 2; ++connection) {
        window.ConnectScanner(scanner);
        for (const int id : {ctl::kSlide, ctl::kNegative, ctl::kBlackWhite}) {
            EXPECT_FALSE(Enabled(id)) << id;
            EXPECT_TRUE(ToolTip(id).contains(QLatin1String("/dev/bus/usb/001/004"))) << id;
        }
        EXPECT_TRUE(Enabled(ctl::kScan));
    }
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].startsWith(QLatin1String("The film type cannot be set: ")));
    EXPECT_TRUE(reported[0].contains(QLatin1String("70-zevuvora-scanner.rules")));
    window.DisconnectScanner();
    EXPECT_TRUE(ToolTip(ctl::kBlackWhite).isEmpty());
}

TEST_F(FilmTypeAccessTest, OneWaitCursorWhileTheFilmTypeIsWritten) {
    std::vector<int> shapes;
    scanner->camera.onSet = [&](int property) {
        if (property == kRoll) {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            shapes.push_back(cursor != nullptr ? cursor->shape() : -1);
        }
    };
    window.ConnectScanner(scanner);
    window.OnFilmTypeClicked(ctl::kBlackWhite);
    EXPECT_EQ(shapes, (std::vector<int>{Qt::WaitCursor, Qt::WaitCursor}));
    // Gone again, not stacked: one restore after each change.
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace zv
