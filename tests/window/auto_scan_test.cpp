#include "window/auto_scan.h"

#include "capture/capture_controller.h"
#include "platform/media/latest_frame.h"
#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"
#include "platform/sim/sim_device_bus.h"
#include "platform/sim/sim_device_config.h"
#include "platform/sim/sim_device_filter.h"
#include "support/saved_pictures.h"
#include "support/wait.h"
#include "window/brasquel_dlg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zv {
namespace {

using namespace std::chrono_literals;
using test::WaitUntil;

// Preview frames (20 ms apart) in which a settled picture would have been scanned twice over.
constexpr std::uint64_t kQuietFrames = 60;

sim::SimDeviceConfig SmallScanner() {
    sim::SimDeviceConfig config = sim::ScannerDevice(QStringLiteral("SCN0001"));
    config.capture.captureFormats = {media::MakeVideoInfoType(media::kSubtypeMjpg, 320, 240)};
    config.capture.stillFormats = {media::MakeVideoInfoType(media::kSubtypeMjpg, 1600, 1200)};
    config.capture.previewInterval = 20ms;
    return config;
}

class AutoScanTest : public testing::Test {
protected:
    void Open(sim::SimDeviceConfig config = SmallScanner()) {
        scanner = bus->Plug(std::move(config), false);
        window.SetDeviceBackend(bus, [](std::chrono::milliseconds) {});
        window.OnInitDialog();
        window.Controls().setControlText(ctl::kSaveFolder, root.path() + QLatin1Char('/'));
        window.UpdateData(true);
        ASSERT_TRUE(window.IsScannerConnected());
    }

    QCheckBox& Box() const { return window.AutoScanner()->CheckBox(); }
    QStringList Files() const {
        QStringList paths;
        for (const QString& name : QDir(root.path()).entryList(QDir::Files | QDir::Hidden)) {
            paths << QDir(root.path()).filePath(name);
        }
        return paths;
    }
    // Runs the window while `count` more preview frames come.
    bool WatchFrames(std::uint64_t count) {
        const auto frames = window.Capture()->PreviewFrames();
        const std::uint64_t until = frames->Count() + count;
        return WaitUntil([&] { return frames->Count() >= until; });
    }

    QTemporaryDir root;
    std::shared_ptr<sim::SimDeviceBus> bus = std::make_shared<sim::SimDeviceBus>();
    std::shared_ptr<sim::SimDeviceFilter> scanner;
    CBrasquelDlg window;
};

TEST_F(AutoScanTest, EachAdvanceSavesOneNewFrameAndAFilmTypeChangeNone) {
    Open();
    Box().setChecked(true);
    ASSERT_TRUE(WatchFrames(kQuietFrames));
    EXPECT_TRUE(Files().isEmpty()) << "the frame shown when ticked counts as scanned";
    for (int advance = 1; advance <= 3; ++advance) {
        scanner->Film().Advance();
        ASSERT_TRUE(WaitUntil([&] { return Files().size() >= advance; }, 20s)) << advance;
    }
    // Another look of the same frame is no new frame.
    window.Controls().ControlAs<QAbstractButton>(ctl::kSlide)->click();
    ASSERT_TRUE(WatchFrames(kQuietFrames * 2));
    EXPECT_EQ(Files().size(), 3);
    EXPECT_GT(test::LeastDistance(Files()), 0.3);
    EXPECT_EQ(scanner->TriggerCount(), 3);
}

TEST_F(AutoScanTest, AFrameThatSettlesWhileAScanWaitsIsScannedAfterIt) {
    auto config = SmallScanner();
    config.capture.stillDelay = 1000ms;
    Open(config);
    std::vector<int> triggersAtSave;
    QObject::connect(&window, &CBrasquelDlg::saveFinished,
                     [&] { triggersAtSave.push_back(scanner->TriggerCount()); });
    ASSERT_TRUE(WatchFrames(2));  // the frame to count as scanned is on screen
    Box().setChecked(true);
    scanner->Film().Advance();
    ASSERT_TRUE(WaitUntil([&] { return scanner->TriggerCount() == 1; }, 20s));
    scanner->Film().Advance();
    ASSERT_TRUE(WaitUntil([&] { return triggersAtSave.size() == 2; }, 20s));
    EXPECT_EQ(triggersAtSave, (std::vector<int>{1, 2})) << "one Scan waits at a time";
    EXPECT_EQ(Files().size(), 2);
}

TEST_F(AutoScanTest, TheBoxIsForAConnectedScannerAndScansNothingUnticked) {
    Open();
    EXPECT_TRUE(Box().isEnabled());
    EXPECT_FALSE(Box().isChecked());
    EXPECT_EQ(Box().text(), QStringLiteral("Scan when the frame settles"));
    scanner->Film().Advance();
    ASSERT_TRUE(WatchFrames(kQuietFrames));
    EXPECT_EQ(scanner->TriggerCount(), 0);

    bus->Unplug(scanner->DevicePath());
    ASSERT_TRUE(WaitUntil([&] { return !window.IsScannerConnected(); }));
    EXPECT_FALSE(Box().isEnabled());
}

}  // namespace
}  // namespace zv
