#include "controls/xlabel.h"
#include "device/extension_unit.h"
#include "imaging/exif_reader.h"
#include "imaging/still_frames.h"
#include "platform/devices/camera_control.h"
#include "platform/devices/device_change_event.h"
#include "platform/devices/scanner_contract.h"
#include "platform/devices/video_proc_amp.h"
#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"
#include "platform/sim/sim_device_bus.h"
#include "platform/sim/sim_device_config.h"
#include "platform/sim/sim_device_filter.h"
#include "session/scan_description.h"
#include "support/wait.h"
#include "window/brasquel_dlg.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>
#include <map>

namespace zv {
namespace {

using namespace std::chrono_literals;
using test::WaitUntil;

// A scanner whose frames are small, so that connecting and scanning stay quick.
sim::SimDeviceConfig SmallScanner(const QString& serial = QStringLiteral("SCN0001")) {
    sim::SimDeviceConfig config = sim::ScannerDevice(serial);
    config.capture.captureFormats = {media::MakeVideoInfoType(media::kSubtypeMjpg, 320, 240)};
    config.capture.stillFormats = {media::MakeVideoInfoType(media::kSubtypeMjpg, 1600, 1200)};
    config.capture.previewInterval = 20ms;
    return config;
}

class DeviceConnectionTest : public testing::Test {
protected:
    void Open() {
        window.SetDeviceBackend(bus, [](std::chrono::milliseconds) {});
        window.OnInitDialog();
        window.Controls().setControlText(ctl::kSaveFolder, root.path() + QLatin1Char('/'));
        window.UpdateData(true);
    }

    // Device changes arrive through the event loop, like the platform's notifications.
    void Deliver() { QCoreApplication::processEvents(); }

    bool NoDeviceStateShown() const {
        return !window.IsScannerConnected() && !window.Controls().IsControlEnabled(ctl::kScan) &&
               window.Controls().Control(ctl::kNoDeviceLabel)->isVisibleTo(&window) &&
               window.Controls().Control(ctl::kNoDevicePicture)->isVisibleTo(&window);
    }

    QTemporaryDir root;
    std::shared_ptr<sim::SimDeviceBus> bus = std::make_shared<sim::SimDeviceBus>();
    CBrasquelDlg window;
};

TEST_F(DeviceConnectionTest, AScannerPresentAtStartIsConnectedAndPreviewed) {
    auto scanner = bus->Plug(SmallScanner(), false);
    Open();
    ASSERT_TRUE(window.IsScannerConnected());
    EXPECT_EQ(window.ScannerFilter(), scanner);
    EXPECT_EQ(window.ConnectedDevicePath(), scanner->DevicePath());
    EXPECT_TRUE(window.Controls().IsControlEnabled(ctl::kScan));
    EXPECT_FALSE(window.Controls().Control(ctl::kNoDeviceLabel)->isVisibleTo(&window));
    EXPECT_NE(window.Capture(), nullptr);
    EXPECT_EQ(window.FilmType(), 1);  // every connection starts from Negative
}

TEST_F(DeviceConnectionTest, WithoutADeviceSystemTheWindowStaysWithoutDevice) {
    window.OnInitDialog();
    EXPECT_TRUE(NoDeviceStateShown());
}

TEST_F(DeviceConnectionTest, PluggingTheScannerInConnectsIt) {
    Open();
    EXPECT_TRUE(NoDeviceStateShown());
    auto scanner = bus->Plug(SmallScanner());
    Deliver();
    ASSERT_TRUE(window.IsScannerConnected());
    EXPECT_EQ(window.ScannerFilter(), scanner);
    ASSERT_TRUE(WaitUntil([&] { return scanner->PreviewFramesDelivered() > 0; }));
}

TEST_F(DeviceConnectionTest, ASecondScannerOrAWebcamLeavesTheWindowAsItIs) {
    auto first = bus->Plug(SmallScanner(), false);
    Open();
    bus->Plug(SmallScanner(QStringLiteral("SCN0002")));
    Deliver();
    EXPECT_EQ(window.ScannerFilter(), first);

    bus->Unplug(first->DevicePath());
    Deliver();
    EXPECT_TRUE(NoDeviceStateShown());
    bus->Plug(sim::WebcamDevice());
    Deliver();
    EXPECT_TRUE(NoDeviceStateShown());
}

TEST_F(DeviceConnectionTest, RemovalOfAnotherDeviceIsIgnoredAndAnyCaseOfThePathDisconnects) {
    auto scanner = bus->Plug(SmallScanner(), false);
    bus->Plug(sim::WebcamDevice(), false);
    Open();
    bus->Unplug(sim::WebcamDevice().devicePath);
    Deliver();
    ASSERT_TRUE(window.IsScannerConnected());

    bus->Raise(sim::SimDeviceBus::InterfaceEvent(devices::kDeviceRemoveComplete,
                                                 contract::kCaptureInterfaceCategory,
                                                 scanner->DevicePath().toUpper()));
    Deliver();
    EXPECT_TRUE(NoDeviceStateShown());
    EXPECT_EQ(window.Capture(), nullptr);
}

TEST_F(DeviceConnectionTest, ChangesOfOtherClassesAndDeviceTypesAreIgnored) {
    auto scanner = bus->Plug(SmallScanner(), false);
    Open();
    devices::DeviceChangeEvent otherClass = sim::SimDeviceBus::InterfaceEvent(
        devices::kDeviceRemoveComplete, Guid{}, scanner->DevicePath());
    devices::DeviceChangeEvent volume;
    volume.eventCode = devices::kDeviceRemoveComplete;
    volume.deviceType = devices::kDeviceTypeVolume;
    bus->Raise(otherClass);
    bus->Raise(volume);
    Deliver();
    EXPECT_TRUE(window.IsScannerConnected());
}

TEST_F(DeviceConnectionTest, PullingTheScannerDuringAScanEndsItWithoutAMessage) {
    auto config = SmallScanner();
    config.capture.stillsPerTrigger = 0;
    auto scanner = bus->Plug(config, false);
    Open();
    window.OnScan();
    ASSERT_TRUE(window.IsScanTimerArmed());
    bus->Unplug(scanner->DevicePath());
    Deliver();
    EXPECT_TRUE(NoDeviceStateShown());
    EXPECT_FALSE(window.IsScanTimerArmed());
    EXPECT_TRUE(window.StatusLine().Text().isEmpty());
    EXPECT_EQ(window.SavedImageCount(), 0);
    EXPECT_TRUE(window.StatusDetail().contains(QStringLiteral("the scanner was unplugged")));
}

TEST_F(DeviceConnectionTest, PlugScanUnplugReplugStartsAfreshEveryTime) {
    Open();
    for (int round = 0; round < 3; ++round) {
        auto scanner = bus->Plug(SmallScanner());
        Deliver();
        ASSERT_TRUE(window.IsScannerConnected()) << round;
        window.OnScan();
        ASSERT_TRUE(WaitUntil([&] { return window.SavedImageCount() == 1; })) << round;
        bus->Unplug(scanner->DevicePath());
        Deliver();
        EXPECT_TRUE(NoDeviceStateShown()) << round;
        EXPECT_EQ(window.SavedImageCount(), 0);
    }
}

// The adjustments as the scanner was last given them, from its own log of writes.
ScanAdjustments LastWritten(const sim::SimDeviceFilter& scanner) {
    using enum sim::SimPropertyInterface;
    std::map<std::pair<sim::SimPropertyInterface, int>, int> last;
    for (const sim::SimPropertyWrite& write : scanner.PropertyWrites()) {
        if (write.status == kOk) {
            last[{write.target, write.property}] = write.value;
        }
    }
    ScanAdjustments written;
    written.saturation = last[{kVideoProcAmp, devices::kVideoProcAmpSaturation}];
    written.brightness = last[{kVideoProcAmp, devices::kVideoProcAmpBrightness}];
    written.contrast = last[{kVideoProcAmp, devices::kVideoProcAmpContrast}];
    written.gamma = last[{kVideoProcAmp, devices::kVideoProcAmpGamma}];
    written.red = last[{kCameraControl, devices::kCameraControlPan}];
    written.green = last[{kCameraControl, devices::kCameraControlZoom}];
    written.blue = last[{kCameraControl, devices::kCameraControlTilt}];
    return written;
}

TEST_F(DeviceConnectionTest, AScanCarriesTheScannersNamesTheValuesItWasGivenAndItsInstant) {
    auto scanner = bus->Plug(SmallScanner(), false);
    Open();
    // A slider moved after the connection's presets: the scan must carry the new value.
    window.Controls()
        .ControlAs<QSlider>(ctl::kBrightnessSlider)
        ->triggerAction(QAbstractSlider::SliderPageStepAdd);
    window.OnScan();
    ASSERT_TRUE(WaitUntil([&] { return window.SavedImageCount() == 1; }));
    const QFileInfoList files = QDir(root.path()).entryInfoList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(files.size(), 1);
    QFile file(files[0].filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::vector<test::JpegSegment> segments = test::ReadSegments(file.readAll());
    ASSERT_GE(segments.size(), 2u);
    const test::ExifReader exif(segments[1].payload);
    using test::ExifReader;
    EXPECT_EQ(exif.Value(ExifReader::kPicture, 0x010F), QStringLiteral("zevuvora simulator"));
    EXPECT_EQ(exif.Value(ExifReader::kPicture, 0x0110), QStringLiteral("Simulated Film Scanner"));
    EXPECT_EQ(exif.Value(ExifReader::kPicture, 0x010E),
              QStringLiteral("Negative film, 135, 2592x1728"));
    EXPECT_EQ(exif.Value(ExifReader::kPicture, 0x011A), QStringLiteral("1829/1"));
    EXPECT_EQ(exif.Value(ExifReader::kPicture, 0x0131),
              QStringLiteral("zevuvora " ZEVUVORA_VERSION));
    const ScanAdjustments written = LastWritten(*scanner);
    EXPECT_NE(written.brightness, 0);
    EXPECT_EQ(exif.Value(ExifReader::kExif, 0x9286),
              QStringLiteral("ASCII") + QString(3, QChar(0)) + AdjustmentsComment(written));
    // ZevuVora_negative_135_5M_<yyyyMMdd>_<hhmmsszzz>.jpg
    const QDateTime named = QDateTime::fromString(files[0].completeBaseName().right(18),
                                                  QStringLiteral("yyyyMMdd_HHmmsszzz"));
    ASSERT_TRUE(named.isValid()) << files[0].fileName().toStdString();
    EXPECT_EQ(exif.Value(ExifReader::kExif, 0x9003),
              named.toString(QStringLiteral("yyyy:MM:dd HH:mm:ss")));
    EXPECT_EQ(exif.Value(ExifReader::kExif, 0x9291), named.toString(QStringLiteral("zzz")));
    const int minutes = named.offsetFromUtc() / 60;
    EXPECT_EQ(exif.Value(ExifReader::kExif, 0x9011),
              QString::asprintf("%c%02d:%02d", minutes < 0 ? '-' : '+', std::abs(minutes) / 60,
                                std::abs(minutes) % 60));
}

TEST_F(DeviceConnectionTest, ClosingUnregistersFromDeviceChanges) {
    Open();
    EXPECT_EQ(bus->RegistrationCount(), 1);
    window.OnClose();
    EXPECT_EQ(bus->RegistrationCount(), 0);
    bus->Plug(SmallScanner());
    Deliver();
    EXPECT_FALSE(window.IsScannerConnected());
}

// A scanner whose chip is still starting when it arrives: its reply selector is not ready for
// longer than one opening waits. Discovery tries again and connects it.
TEST_F(DeviceConnectionTest, AScannerThatIdentifiesOnlyAfterAMomentIsConnected) {
    Open();
    auto config = SmallScanner();
    for (auto& selector : config.extensionUnits.front().selectors) {
        if (selector.number == contract::kIdentifyReadSelector) {
            selector.notReadyAnswers = kSizeProbeAttempts + 2;
        }
    }
    bus->Plug(config);
    Deliver();
    EXPECT_FALSE(window.IsScannerConnected());
    EXPECT_TRUE(window.IsIdentifyRetryPending());
    ASSERT_TRUE(WaitUntil([&] { return window.IsScannerConnected(); }));
    EXPECT_TRUE(window.NoDeviceLabel().toolTip().isEmpty());
}

TEST_F(DeviceConnectionTest, AScannerThatNeverIdentifiesIsNamedOnTheNoDeviceLabel) {
    Open();
    auto config = SmallScanner();
    config.extensionUnits.front().answersIdentification = false;
    bus->Plug(config);
    Deliver();
    ASSERT_TRUE(WaitUntil([&] { return !window.IsIdentifyRetryPending(); }));
    EXPECT_TRUE(NoDeviceStateShown());
    const QString detail = window.NoDeviceLabel().toolTip();
    EXPECT_TRUE(detail.contains(config.devicePath)) << detail.toStdString();
    EXPECT_TRUE(detail.contains(QStringLiteral("identification"))) << detail.toStdString();
}

// The "locked" box runs a nested event loop. The scanner pulled while it is open (from the
// connection, or from a film size change) frees the capture; OK must not touch it afterwards.
class RemovalDuringBusyBox : public DeviceConnectionTest,
                             public testing::WithParamInterface<int> {};

TEST_P(RemovalDuringBusyBox, LeavesTheWindowWithoutDeviceAndNothingFreedIsUsed) {
    const int pullAtBox = GetParam();
    Open();
    auto config = SmallScanner();
    config.capture.runResult = kSharingViolation;
    int boxes = 0;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        if (box->property("seen").isNull()) {
            box->setProperty("seen", true);
            if (++boxes == pullAtBox) {
                bus->Unplug(config.devicePath);
            }
        }
        // The removal arrives through the box's own event loop; OK only after it was handled.
        if (boxes != pullAtBox || !window.IsScannerConnected()) {
            box->accept();
        }
    });
    watcher.start(5);
    bus->Plug(config);
    Deliver();
    if (pullAtBox == 2) {
        ASSERT_TRUE(window.IsScannerConnected());
        window.Controls().checkRadioButton(ctl::kFilmSize135, ctl::kFilmSize126, ctl::kFilmSize126);
        window.OnFilmSizeChanged();
    }
    watcher.stop();
    EXPECT_EQ(boxes, pullAtBox);
    EXPECT_TRUE(NoDeviceStateShown());
    EXPECT_EQ(window.Capture(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(FromConnectionAndFromFilmSize, RemovalDuringBusyBox,
                         testing::Values(1, 2));

}  // namespace
}  // namespace zv
