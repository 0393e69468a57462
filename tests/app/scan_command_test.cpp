#include "app/scan_command.h"

#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"
#include "platform/sim/sim_device_bus.h"
#include "platform/sim/sim_device_config.h"
#include "platform/sim/sim_device_filter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>
#include <unistd.h>

namespace zv {
namespace {

using namespace std::chrono_literals;

sim::SimDeviceConfig SmallScanner() {
    sim::SimDeviceConfig config = sim::ScannerDevice();
    config.capture.captureFormats = {media::MakeVideoInfoType(media::kSubtypeMjpg, 320, 240),
                                     media::MakeVideoInfoType(media::kSubtypeMjpg, 240, 240)};
    config.capture.stillFormats = {media::MakeVideoInfoType(media::kSubtypeMjpg, 1600, 1200),
                                   media::MakeVideoInfoType(media::kSubtypeMjpg, 800, 800)};
    config.capture.previewInterval = 20ms;
    return config;
}

// Waits that would only end at the time-out if the command waited for it.
constexpr int kNeverMs = 600000;

class ScanCommandTest : public testing::Test {
protected:
    int Run(ScanOptions options) {
        if (options.outputFolder.isEmpty()) {
            options.outputFolder = Folder();
        }
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        ScanCommand command(options, bus);
        if (inputFd >= 0) {
            command.SetConsole(inputFd, true);
        }
        const int status = command.Run();
        out = QString::fromStdString(testing::internal::GetCapturedStdout());
        err = QString::fromStdString(testing::internal::GetCapturedStderr());
        return status;
    }
    int Run(sim::SimDeviceConfig config, ScanOptions options) {
        bus->Plug(std::move(config), false);
        return Run(std::move(options));
    }

    QString Folder() const { return root.filePath(QStringLiteral("scans")); }
    // Hidden files too: a temporary file left behind counts.
    QStringList Files() const {
        return QDir(Folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QStringList Printed() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    // Every file on the disk was printed, and every path printed is a file on the disk.
    void ExpectEveryFilePrinted() const {
        QStringList onDisk;
        for (const QString& file : Files()) {
            onDisk << QDir(Folder()).filePath(file);
        }
        QStringList printed = Printed();
        printed.sort();
        EXPECT_EQ(printed, onDisk) << err.toStdString();
    }

    // Pulls `scanner` as soon as a Scan has reached it, then runs `afterwards`.
    void PullAtFirstScan(const std::shared_ptr<sim::SimDeviceFilter>& scanner,
                         std::function<void()> afterwards = {}) {
        QObject::connect(&watcher, &QTimer::timeout, [this, scanner, afterwards] {
            if (scanner->TriggerCount() > 0) {
                watcher.stop();
                bus->Unplug(scanner->DevicePath());
                if (afterwards) {
                    afterwards();
                }
            }
        });
        watcher.start(5);
    }

    // With --wait enter: the lines the user types, then the end of the input.
    int RunWithInput(ScanOptions options, const QByteArray& input) {
        int fds[2];
        if (::pipe(fds) != 0 || ::write(fds[1], input.constData(), input.size()) != input.size()) {
            ADD_FAILURE() << "no pipe";
            return -1;
        }
        ::close(fds[1]);
        inputFd = fds[0];
        bus->Plug(SmallScanner(), false);
        const int status = Run(std::move(options));
        ::close(fds[0]);
        return status;
    }

    QTemporaryDir root;
    // The command's standard input and whether it shows progress (a terminal); -1: as it is.
    int inputFd = -1;
    QTimer watcher;
    std::shared_ptr<sim::SimDeviceBus> bus = std::make_shared<sim::SimDeviceBus>();
    QString out;
    QString err;
};

TEST_F(ScanCommandTest, EveryFrameIsSavedNamedAfterTheOptionsAndPrinted) {
    ScanOptions options;
    options.filmTypeIndex = 1;
    options.filmSizeIndex = 1;
    options.resolutionIndex = 0;
    options.count = 2;
    options.outputFolder = Folder() + QLatin1Char('/');
    ASSERT_EQ(Run(SmallScanner(), options), 0) << err.toStdString();
    const QStringList files = Files();
    ASSERT_EQ(files.size(), 2);
    for (const QString& file : files) {
        EXPECT_TRUE(file.startsWith(QStringLiteral("ZevuVora_negative_126_")))
            << file.toStdString();
        EXPECT_EQ(QImage(QDir(Folder()).filePath(file)).size(), QSize(1497, 1497));
    }
    ExpectEveryFilePrinted();
    EXPECT_FALSE(out.contains(QStringLiteral("//"))) << out.toStdString();
}

TEST_F(ScanCommandTest, NoScannerEndsWithStatus2AndSaysHowToCheck) {
    EXPECT_EQ(Run(ScanOptions()), 2);
    EXPECT_TRUE(err.contains(QStringLiteral("no film scanner found"))) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
}

TEST_F(ScanCommandTest, AScannerThatDoesNotIdentifySaysWhatWasFoundAndWhatFailed) {
    auto config = SmallScanner();
    config.extensionUnits.front().answersIdentification = false;
    EXPECT_EQ(Run(config, ScanOptions()), 2);
    EXPECT_TRUE(err.contains(config.devicePath)) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("did not answer the identification")));
    EXPECT_FALSE(err.contains(QStringLiteral("udev"))) << "it is there: access is not the problem";
}

// The folder is checked before the scanner is looked for (none is plugged here).
struct FolderCase {
    const char* name;
    const char* out;  // below a file "not-a-folder" in the test's root
    const char* says;
};

class OutputFolderTest : public ScanCommandTest, public testing::WithParamInterface<FolderCase> {};

TEST_P(OutputFolderTest, AFolderThatCannotTakeTheFilesEndsWithStatus2BeforeConnecting) {
    QFile blocker(root.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ScanOptions options;
    options.outputFolder = root.filePath(QString::fromLatin1(GetParam().out));
    EXPECT_EQ(Run(options), 2);
    EXPECT_TRUE(err.contains(QString::fromLatin1(GetParam().says))) << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("no film scanner")));
    EXPECT_EQ(QDir(root.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("not-a-folder")});
}

INSTANTIATE_TEST_SUITE_P(
    Folders, OutputFolderTest,
    testing::Values(FolderCase{"FileInTheWay", "not-a-folder/scans", "a file is in the way"},
                    FolderCase{"FileItself", "not-a-folder", "a file is in the way"},
                    FolderCase{"MissingParent", "missing/scans", "parent folder"}),
    [](const testing::TestParamInfo<FolderCase>& param) { return std::string(param.param.name); });

TEST_F(ScanCommandTest, StillsThatNeverArriveFailAfterTheTimeOut) {
    auto config = SmallScanner();
    config.capture.stillsPerTrigger = 0;
    ScanOptions options;
    options.count = 2;
    options.timeoutMs = 300;
    EXPECT_EQ(Run(config, options), 1);
    EXPECT_EQ(err.count(QStringLiteral("no picture from the scanner within 300 ms")), 2)
        << err.toStdString();
    EXPECT_TRUE(Files().isEmpty());
}

// Each picture comes 500 ms after the previous one, long after the 150 ms time-out: frame 1's
// picture arrives while later frames wait, and it is frame 1's, never theirs, and printed.
TEST_F(ScanCommandTest, ALatePictureBelongsToItsOwnFrameAndIsPrinted) {
    auto config = SmallScanner();
    config.capture.stillDelay = 500ms;
    ScanOptions options;
    options.count = 8;
    options.timeoutMs = 150;
    EXPECT_EQ(Run(config, options), 1);
    ASSERT_FALSE(Printed().isEmpty()) << err.toStdString();
    ExpectEveryFilePrinted();
    const QRegularExpression late(
        QStringLiteral("frame 1: the picture came after the time-out; saved as %1\n")
            .arg(QRegularExpression::escape(Printed().first())));
    EXPECT_TRUE(late.match(err).hasMatch()) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("frame 2: no picture"))) << err.toStdString();
}

// Saving fails (a damaged frame): the reason is in words; the code only with --verbose.
class VerboseTest : public ScanCommandTest, public testing::WithParamInterface<bool> {};

TEST_P(VerboseTest, FailuresAreInWordsAndCarryTheirCodeOnlyWhenVerbose) {
    auto config = SmallScanner();
    config.capture.corruptStills = true;
    ScanOptions options;
    options.verbose = GetParam();
    EXPECT_EQ(Run(config, options), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("the picture from the scanner is damaged")))
        << err.toStdString();
    EXPECT_EQ(err.contains(QStringLiteral("0x")), GetParam()) << err.toStdString();
    EXPECT_TRUE(Files().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Modes, VerboseTest, testing::Bool());

TEST_F(ScanCommandTest, AScannerWithoutAStillFormatFailsAtOnce) {
    auto config = SmallScanner();
    config.capture.hasStillPin = false;
    ScanOptions options;
    options.count = 3;
    options.timeoutMs = kNeverMs;
    EXPECT_EQ(Run(config, options), 1);
    EXPECT_EQ(err.count(QStringLiteral("offers no still picture format")), 1) << err.toStdString();
}

TEST_F(ScanCommandTest, APreviewSizedStillSaysTheImageWasEnlarged) {
    auto config = SmallScanner();
    config.capture.stillFormats = {media::MakeVideoInfoType(media::kSubtypeMjpg, 1280, 960)};
    ASSERT_EQ(Run(config, ScanOptions()), 0) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("frame 1: the saved image was enlarged from 1280x960")))
        << err.toStdString();
}

// Pulled while frame 1 waits for its picture: frame 1 fails at once; the scanner comes back,
// the command's film type is applied again (the connection applied Negative) and frame 2 is
// scanned as slide.
TEST_F(ScanCommandTest, AfterAReconnectionTheRequestedSettingsApplyAgain) {
    auto slow = SmallScanner();
    slow.capture.stillDelay = std::chrono::milliseconds(kNeverMs);
    PullAtFirstScan(bus->Plug(slow, false),
                    [this] { QTimer::singleShot(100ms, [this] { bus->Plug(SmallScanner()); }); });
    ScanOptions options;
    options.count = 2;
    options.timeoutMs = kNeverMs;
    EXPECT_EQ(Run(options), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("frame 1: the scanner was unplugged")))
        << err.toStdString();
    ASSERT_EQ(Files().size(), 1) << err.toStdString();
    EXPECT_TRUE(Files().first().startsWith(QStringLiteral("ZevuVora_slide_135_5M_")));
    ExpectEveryFilePrinted();
}

TEST_F(ScanCommandTest, AScannerThatDoesNotComeBackEndsTheRunWithStatus1) {
    auto slow = SmallScanner();
    slow.capture.stillDelay = std::chrono::milliseconds(kNeverMs);
    PullAtFirstScan(bus->Plug(slow, false));
    ScanOptions options;
    options.count = 3;
    options.timeoutMs = 300;
    EXPECT_EQ(Run(options), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("frame 1: the scanner was unplugged")));
    EXPECT_TRUE(
        err.contains(QStringLiteral("frame 2: the scanner was unplugged and did not come "
                                    "back within 300 ms")))
        << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("frame 3"))) << err.toStdString();
}

TEST_F(ScanCommandTest, BlackAndWhiteIsAppliedThroughTheFilmTypeHandler) {
    ScanOptions options;
    options.filmTypeIndex = 2;
    ASSERT_EQ(Run(SmallScanner(), options), 0) << err.toStdString();
    ASSERT_EQ(Files().size(), 1);
    EXPECT_TRUE(Files().first().startsWith(QStringLiteral("ZevuVora_bw_135_5M_")));
}

struct EnterCase {
    const char* name;
    const char* input;
    int exitStatus;
    int files;
    const char* says;
};

class EnterWaitTest : public ScanCommandTest, public testing::WithParamInterface<EnterCase> {};

// Three frames, the first at once, each later one after a line; the end of the input ends the
// run and leaves the frames not scanned unsaved.
TEST_P(EnterWaitTest, EachLaterFrameTakesALineAndTheEndOfInputEndsTheRun) {
    ScanOptions options;
    options.count = 3;
    options.wait.kind = FrameWaitOption::Kind::kEnter;
    EXPECT_EQ(RunWithInput(options, GetParam().input), GetParam().exitStatus) << err.toStdString();
    EXPECT_EQ(Files().size(), GetParam().files);
    ExpectEveryFilePrinted();
    EXPECT_TRUE(err.contains(QString::fromLatin1(GetParam().says))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("frame 1 of 3 saved: ZevuVora_slide_135_5M_")))
        << err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, EnterWaitTest,
    testing::Values(
        EnterCase{"TwoLines", "\n\n", 0, 3, "frame 3 of 3: move the film on, then press Enter"},
        EnterCase{"OneLineThenEnd", "next\n", 1, 2,
                  "standard input ended: frame 3 was not scanned"},
        EnterCase{"AnUnendedLineCounts", "\nlast", 0, 3, "frame 3 of 3 saved"},
        EnterCase{"EndAtOnce", "", 1, 1, "standard input ended: frames 2 to 3 were not scanned"}),
    [](const testing::TestParamInfo<EnterCase>& param) { return std::string(param.param.name); });

TEST_F(ScanCommandTest, ATimedWaitComesBetweenTheFrames) {
    ScanOptions options;
    options.count = 3;
    options.wait = {FrameWaitOption::Kind::kTime, 250ms};
    QElapsedTimer run;
    run.start();
    ASSERT_EQ(Run(SmallScanner(), options), 0) << err.toStdString();
    EXPECT_GE(run.elapsed(), 500);
    EXPECT_EQ(Files().size(), 3);
}

// Frame 2 waits for a film that never moves; the scanner leaving ends that wait as it ends any.
TEST_F(ScanCommandTest, TheScannerLeavingEndsTheWaitForTheFilmToRest) {
    auto scanner = bus->Plug(SmallScanner(), false);
    QObject::connect(&watcher, &QTimer::timeout, [this, scanner] {
        if (!Files().isEmpty()) {
            watcher.stop();
            bus->Unplug(scanner->DevicePath());
        }
    });
    watcher.start(5);
    ScanOptions options;
    options.count = 2;
    options.timeoutMs = 300;
    options.wait.kind = FrameWaitOption::Kind::kSettle;
    EXPECT_EQ(Run(options), 1);
    EXPECT_EQ(Files().size(), 1) << "the frame in place is taken once it rests";
    EXPECT_TRUE(err.contains(
        QStringLiteral("frame 2: the scanner was unplugged and did not come back within 300 ms")))
        << err.toStdString();
}

struct WaitArgumentCase {
    const char* arguments;  // after "scan", split at spaces
    std::optional<int> exitStatus;
    FrameWaitOption::Kind kind;
    std::chrono::milliseconds time;
};

class WaitArguments : public testing::TestWithParam<WaitArgumentCase> {};

TEST_P(WaitArguments, AreAutoEnterOrSecondsAndAutoIsItsAlias) {
    const WaitArgumentCase& c = GetParam();
    testing::internal::CaptureStderr();
    const ParsedScan parsed = ParseScanCommandLine(
        QStringList{QStringLiteral("zevuvora"), QStringLiteral("scan")} +
        QString::fromLatin1(c.arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(parsed.exitStatus, c.exitStatus) << err;
    if (!c.exitStatus) {
        EXPECT_EQ(parsed.options.wait.kind, c.kind);
        EXPECT_EQ(parsed.options.wait.time, c.time);
    }
}

using Kind = FrameWaitOption::Kind;
INSTANTIATE_TEST_SUITE_P(
    Values, WaitArguments,
    testing::Values(WaitArgumentCase{"", std::nullopt, Kind::kNone, 0ms},
                    WaitArgumentCase{"--wait auto", std::nullopt, Kind::kSettle, 0ms},
                    WaitArgumentCase{"--auto", std::nullopt, Kind::kSettle, 0ms},
                    WaitArgumentCase{"--wait=enter", std::nullopt, Kind::kEnter, 0ms},
                    WaitArgumentCase{"--wait=1.5", std::nullopt, Kind::kTime, 1500ms},
                    WaitArgumentCase{"--wait=0", 2, Kind::kNone, 0ms},
                    WaitArgumentCase{"--wait=soon", 2, Kind::kNone, 0ms},
                    WaitArgumentCase{"--auto --wait=enter", 2, Kind::kNone, 0ms}));

}  // namespace
}  // namespace zv
