// The scanner window on the real uvcvideo driver, run inside the uvcbench VM (see
// tests/platform/uvcbench_run.sh): the film type reaches the virtual scanner through its USB
// device, the colour levels in the driver's units, and the window stays connected with its
// preview running. What the scanner received is read from its firmware's log
// ($UVCBENCH_FWLOG): "data CT 15: ..." is roll, "data CT 13: ..." pan then tilt, each in
// arc-seconds, 4 bytes little-endian. Outside the VM every test skips.

#include "controls/xlabel.h"
#include "platform/v4l2/v4l2_device_backend.h"
#include "support/wait.h"
#include "window/brasquel_dlg.h"
#include "window/video_widget.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace zv {
namespace {

using namespace std::chrono_literals;
using test::WaitUntil;

#define REQUIRE_BENCH()                                                        \
    if (std::getenv("UVCBENCH") == nullptr) {                                  \
        GTEST_SKIP() << "needs the uvcbench VM: uvcbench_run.sh -- " __FILE__; \
    }

// Roll 0 (slide) and 1 (negative); red and blue at 128 degrees (460800 arc-seconds) and at the
// Negative presets, 160 and 100 degrees (576000 and 360000).
constexpr char kRollSlide[] = "data CT 15: 00 00";
constexpr char kRollNegative[] = "data CT 15: 01 00";
constexpr char kLevelsNeutral[] = "data CT 13: 00 08 07 00 00 08 07 00";
constexpr char kLevelsNegative[] = "data CT 13: 00 ca 08 00 40 7e 05 00";

QByteArray FirmwareLog() {
    QFile file(QString::fromLocal8Bit(std::getenv("UVCBENCH_FWLOG")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class FilmTypeBench : public testing::Test {
protected:
    void Open() {
        window.SetDeviceBackend(std::make_shared<v4l2::V4l2DeviceBackend>());
        window.SetErrorReporter([this](const QString& error) { errors << error; });
        window.OnInitDialog();
        window.show();
    }

    int Pictures() const {
        const auto* video = window.PreviewArea().findChild<VideoWidget*>();
        return video != nullptr ? video->PicturesPainted() : 0;
    }

    bool PreviewGoesOn() {
        const int before = Pictures();
        return WaitUntil([&] { return Pictures() >= before + 3; }, 30s);
    }

    QStringList errors;
    CBrasquelDlg window;
};

struct Change {
    int id;
    const char* roll;
    // Written only where the levels change.
    const char* levels;
    int filmType;
};

TEST_F(FilmTypeBench, EachFilmTypeReachesTheScannerAndThePreviewGoesOn) {
    REQUIRE_BENCH();
    Open();
    ASSERT_TRUE(window.IsScannerConnected());
    const std::shared_ptr<media::Filter> connected = window.ScannerFilter();
    // The connection's Negative.
    QByteArray log = FirmwareLog();
    EXPECT_TRUE(log.contains(kRollNegative));
    EXPECT_TRUE(log.contains(kLevelsNegative));
    ASSERT_TRUE(PreviewGoesOn());

    const Change changes[] = {{ctl::kSlide, kRollSlide, kLevelsNeutral, 0},
                              {ctl::kBlackWhite, kRollNegative, nullptr, 2},
                              // Black&White is left again.
                              {ctl::kSlide, kRollSlide, nullptr, 0},
                              {ctl::kNegative, kRollNegative, kLevelsNegative, 1}};
    for (const Change& change : changes) {
        SCOPED_TRACE(testing::Message() << "film type " << change.filmType);
        const qsizetype mark = FirmwareLog().size();
        QElapsedTimer timer;
        timer.start();
        window.OnFilmTypeClicked(change.id);
        const qint64 elapsed = timer.elapsed();
        std::printf("film type change to %d: %lld ms\n", change.filmType,
                    static_cast<long long>(elapsed));
        log = FirmwareLog().mid(mark);
        EXPECT_TRUE(log.contains(change.roll)) << log.toStdString();
        if (change.levels != nullptr) {
            EXPECT_TRUE(log.contains(change.levels)) << log.toStdString();
        }
        EXPECT_EQ(window.FilmType(), change.filmType);
        EXPECT_TRUE(PreviewGoesOn());
        // The driver's removal and arrival were this change's own: no disconnection, no
        // connection applying the Negative presets again, no loop of film type writes.
        const qsizetype settled = FirmwareLog().size();
        QElapsedTimer quiet;
        quiet.start();
        WaitUntil([&] { return quiet.elapsed() > 1500; }, 5s);
        EXPECT_EQ(window.ScannerFilter(), connected);
        EXPECT_EQ(window.FilmType(), change.filmType);
        EXPECT_FALSE(FirmwareLog().mid(settled).contains("data CT 15"));
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
}

// Last: it unplugs the scanner. The bench's plug helper pulls it while film type changes follow
// one another (a change keeps the window busy far longer than the helper takes to start), until
// the scanner is gone; the window ends in its no-device state, without hanging.
TEST_F(FilmTypeBench, UnplugDuringFilmTypeChangesEndsWithoutTheScanner) {
    REQUIRE_BENCH();
    Open();
    ASSERT_TRUE(window.IsScannerConnected());
    QProcess unplug;
    unplug.start(QString::fromLocal8Bit(std::getenv("UVCBENCH_PLUG")), {QStringLiteral("off")});
    QElapsedTimer timer;
    timer.start();
    int changes = 0;
    while (window.IsScannerConnected() && timer.elapsed() < 60000) {
        window.OnFilmTypeClicked(changes++ % 2 == 0 ? ctl::kSlide : ctl::kNegative);
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(WaitUntil([&] { return !window.IsScannerConnected(); }, 10s));
    EXPECT_TRUE(unplug.state() == QProcess::NotRunning || unplug.waitForFinished(30000));
    EXPECT_EQ(unplug.exitCode(), 0) << unplug.readAllStandardError().toStdString();
    EXPECT_FALSE(window.Controls().IsControlEnabled(ctl::kScan));
    EXPECT_TRUE(window.Controls().Control(ctl::kNoDeviceLabel)->isVisibleTo(&window));
    std::printf("unplugged after %d film type changes, %lld ms\n", changes,
                static_cast<long long>(timer.elapsed()));
}

}  // namespace
}  // namespace zv
