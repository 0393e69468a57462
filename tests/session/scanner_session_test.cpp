#include "session/scanner_session.h"

#include "device/film_type_preset.h"
#include "platform/devices/camera_control.h"
#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"
#include "platform/sim/sim_device_bus.h"
#include "platform/sim/sim_device_config.h"
#include "platform/sim/sim_device_filter.h"
#include "session/failure_reason.h"
#include "session/still_frame_saver.h"
#include "support/wait.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace zv {
namespace {

using namespace std::chrono_literals;
using test::WaitUntil;

// The session on its own, as the headless command drives it: no window, no display.
class ScannerSessionTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        session.SetDeviceBackend(bus, [](std::chrono::milliseconds) {});
        UseFolder(root.path() + QLatin1Char('/'));
        QObject::connect(&session, &ScannerSession::connectionChanged,
                         [this](bool connected) { connections.push_back(connected); });
        QObject::connect(&session, &ScannerSession::saveFinished,
                         [this](Status result, const QString& path) {
                             saves.push_back({result, path});
                         });
        QObject::connect(&session, &ScannerSession::scannerDetached,
                         [this](bool scanWaiting) { detached.push_back(scanWaiting); });
        QObject::connect(&session, &ScannerSession::scanTimedOut, [this] { ++timeouts; });
    }

    // A small scanner plugged in before the session opens; `stills` pictures per trigger.
    void OpenWithScanner(int stills = 1) {
        sim::SimDeviceConfig config = sim::ScannerDevice(QStringLiteral("SCN0001"));
        config.capture.captureFormats = {media::MakeVideoInfoType(media::kSubtypeMjpg, 320, 240),
                                         media::MakeVideoInfoType(media::kSubtypeMjpg, 240, 240)};
        config.capture.stillFormats = {media::MakeVideoInfoType(media::kSubtypeMjpg, 1600, 1200),
                                       media::MakeVideoInfoType(media::kSubtypeMjpg, 800, 800)};
        config.capture.previewInterval = 20ms;
        config.capture.stillsPerTrigger = stills;
        scanner = bus->Plug(config, false);
        session.Open();
    }

    void UseFolder(const QString& folder) { session.SetChoices({folder, 0, 0}); }

    QTemporaryDir root;
    std::shared_ptr<sim::SimDeviceBus> bus = std::make_shared<sim::SimDeviceBus>();
    std::shared_ptr<sim::SimDeviceFilter> scanner;
    ScannerSession session;
    std::vector<bool> connections;
    std::vector<SaveOutcome> saves;
    std::vector<bool> detached;
    int timeouts = 0;
};

TEST_F(ScannerSessionTest, AScanSavesOneCountedFileWithoutAnyWindow) {
    OpenWithScanner();
    ASSERT_TRUE(session.IsScannerConnected());
    EXPECT_EQ(connections, std::vector<bool>{true});
    EXPECT_EQ(session.StillFormatRecord()->width, 1600);

    ASSERT_EQ(session.TriggerScan(), kOk);
    EXPECT_TRUE(session.IsScanTimerArmed());
    ASSERT_TRUE(WaitUntil([&] { return saves.size() == 1; }));
    EXPECT_EQ(saves[0].result, kOk);
    EXPECT_TRUE(QFileInfo::exists(saves[0].path));
    EXPECT_EQ(session.SavedImageCount(), 1);
    EXPECT_EQ(session.StillsInProgress(), 0);
    EXPECT_FALSE(session.IsScanTimerArmed());
}

TEST_F(ScannerSessionTest, AnEmptyFolderOrNoScannerAsksForNothing) {
    EXPECT_EQ(session.TriggerScan(), kFalse);
    OpenWithScanner();
    UseFolder(QStringLiteral("  "));
    EXPECT_EQ(session.TriggerScan(), kNoSaveFolder);
    EXPECT_FALSE(session.IsScanTimerArmed());
}

TEST_F(ScannerSessionTest, AnUnplugWhileAScanWaitsEndsItWithoutATimeOut) {
    OpenWithScanner(0);
    detached.clear();
    ASSERT_EQ(session.TriggerScan(), kOk);
    bus->Unplug(scanner->DevicePath());
    ASSERT_TRUE(WaitUntil([&] { return !session.IsScannerConnected(); }));
    EXPECT_EQ(detached, std::vector<bool>{true});
    EXPECT_EQ(connections, (std::vector<bool>{true, false}));
    EXPECT_EQ(session.Capture(), nullptr);
    EXPECT_FALSE(session.IsScanTimerArmed());
    EXPECT_EQ(timeouts, 0);
}

// The connection's capture takes the film size chosen before it; a new one starts it over.
TEST_F(ScannerSessionTest, ANewFilmSizeStartsTheCaptureOverWithItsFormats) {
    session.SetFilmSize(1);
    EXPECT_EQ(session.Capture(), nullptr) << "no scanner: nothing starts";
    OpenWithScanner();
    EXPECT_EQ(session.StillFormatRecord()->width, 800);
    session.SetFilmSize(0);
    ASSERT_NE(session.Capture(), nullptr);
    EXPECT_EQ(session.StillFormatRecord()->width, 1600);
}

struct FilmTypeCase {
    int filmType;
    std::int32_t roll;
    const char* fileName;  // how the saved file begins
};

class SessionFilmTypeTest : public ScannerSessionTest,
                            public testing::WithParamInterface<FilmTypeCase> {};

// Every connection begins from Negative; a film type set afterwards reaches the scanner's roll
// control and names the saved file.
TEST_P(SessionFilmTypeTest, ReachesTheScannerAndNamesTheFile) {
    OpenWithScanner();
    EXPECT_EQ(session.FilmType(), kFilmTypeNegative);
    ASSERT_EQ(session.SetFilmType(GetParam().filmType), kOk);
    EXPECT_EQ(session.FilmType(), GetParam().filmType);
    std::optional<std::int32_t> roll;
    for (const sim::SimPropertyWrite& write : scanner->PropertyWrites()) {
        if (write.target == sim::SimPropertyInterface::kCameraControl &&
            write.property == devices::kCameraControlRoll) {
            roll = write.value;
        }
    }
    EXPECT_EQ(roll, GetParam().roll);
    ASSERT_EQ(session.TriggerScan(), kOk);
    ASSERT_TRUE(WaitUntil([&] { return saves.size() == 1; }));
    EXPECT_TRUE(
        QFileInfo(saves[0].path).fileName().startsWith(QString::fromLatin1(GetParam().fileName)))
        << saves[0].path.toStdString();
}

INSTANTIATE_TEST_SUITE_P(FilmTypes, SessionFilmTypeTest,
                         testing::Values(FilmTypeCase{kFilmTypeSlide, 0, "ZevuVora_slide_135_"},
                                         FilmTypeCase{kFilmTypeBlackWhite, 1, "ZevuVora_bw_135_"},
                                         FilmTypeCase{kFilmTypeNegative, 1,
                                                      "ZevuVora_negative_135_"}));

}  // namespace
}  // namespace zv
