// Runs the zevuvora program as a user does and checks what it prints, writes and returns.
#include "support/saved_pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zv {
namespace {

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program without a display and without naming a window system: whatever it does
// here, it must manage without one.
ProgramRun RunProgram(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(variable));
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ZEVUVORA_EXE), arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "zevuvora did not finish";
    }
    ProgramRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

TEST(ProgramTest, HelpDescribesEveryOption) {
    const ProgramRun run = RunProgram({QStringLiteral("--help")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("Usage: zevuvora [options]\n")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("--screenshot"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("--version")));
}

// Help of either command never needs a display; --help-all adds the toolkit's own options,
// which are accepted (and left to the toolkit) too.
TEST(ProgramTest, HelpAllListsTheToolkitOptionsWithoutADisplay) {
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--help-all")},
          QStringList{QStringLiteral("scan"), QStringLiteral("--help-all")}}) {
        const ProgramRun run = RunProgram(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("Toolkit options:")));
        EXPECT_TRUE(run.out.contains(QStringLiteral("-platform <name>"))) << run.out.toStdString();
    }
    const ProgramRun run = RunProgram(
        {QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("--version")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
}

TEST(ProgramTest, VersionPrintsTheVersion) {
    const ProgramRun run = RunProgram({QStringLiteral("--version")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(QStringLiteral(ZEVUVORA_VERSION)));
}

TEST(ProgramTest, UnknownOptionsAreRefusedWithStatusTwo) {
    for (const QString& argument : {QStringLiteral("--no-such-option"), QStringLiteral("stray")}) {
        const ProgramRun run = RunProgram({argument});
        EXPECT_EQ(run.exitCode, 2) << argument.toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
}

TEST(ProgramTest, ScreenshotShowsTheNoDeviceWindow) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("shot.png"));
    const ProgramRun run = RunProgram({QStringLiteral("--screenshot"), path});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    QImage shot(path);
    ASSERT_FALSE(shot.isNull());
    // The template is 643 x 394 dialog units: about 1000 x 650 pixels with an 8-point font.
    EXPECT_GT(shot.width(), 800);
    EXPECT_GT(shot.height(), 500);
    EXPECT_GT(shot.width(), shot.height());

    // The no-device text is drawn in its red, RGB(244, 67, 54), in its band of the preview area
    // (dialog units 193 to 223 of 394), below the no-device picture (which ends at 178).
    int red = 0;
    for (int y = shot.height() * 47 / 100; y < shot.height() * 58 / 100; ++y) {
        for (int x = 0; x < shot.width() / 2; ++x) {
            const QColor pixel = shot.pixelColor(x, y);
            if (pixel.red() > 200 && pixel.green() < 100 && pixel.blue() < 100) {
                ++red;
            }
        }
    }
    EXPECT_GT(red, 100);
}

TEST(ProgramTest, ScreenshotScansNeedAScreenshotAndACount) {
    const QList<QStringList> refused = {
        {QStringLiteral("--screenshot-scans"), QStringLiteral("2")},
        {QStringLiteral("--screenshot"), QStringLiteral("shot.png"),
         QStringLiteral("--screenshot-scans"), QStringLiteral("-1")},
        {QStringLiteral("--screenshot"), QStringLiteral("shot.png"),
         QStringLiteral("--screenshot-scans"), QStringLiteral("many")}};
    for (const QStringList& arguments : refused) {
        const ProgramRun run = RunProgram(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("--screenshot-scans")));
    }
}

TEST(ProgramTest, ScreenshotIntoAMissingFolderFails) {
    const ProgramRun run = RunProgram(
        {QStringLiteral("--screenshot"), QStringLiteral("/nonexistent-folder/shot.png")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("screenshot")));
}

TEST(ScanProgramTest, ThreeBlackAndWhite126FramesAtHighResolution) {
    QTemporaryDir root;
    const QString out = root.filePath(QStringLiteral("scans"));
    const ProgramRun run = RunProgram(
        {QStringLiteral("scan"), QStringLiteral("--simulated-scanner"), QStringLiteral("--count"),
         QStringLiteral("3"), QStringLiteral("--film"), QStringLiteral("bw"),
         QStringLiteral("--size"), QStringLiteral("126"), QStringLiteral("--resolution"),
         QStringLiteral("high"), QStringLiteral("--out"), out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList printed = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(printed.size(), 3) << run.out.toStdString();
    for (const QString& path : printed) {
        EXPECT_TRUE(QFileInfo(path).fileName().startsWith(QStringLiteral("ZevuVora_bw_126_16M_")))
            << path.toStdString();
        EXPECT_EQ(QImage(path).size(), QSize(2995, 2995));
    }
}

// The film moves on every 2 s; each frame is taken once it rests, the first one too.
TEST(ScanProgramTest, WaitAutoTakesEachFrameOfAMovingFilmOnce) {
    QTemporaryDir root;
    const ProgramRun run = RunProgram(
        {QStringLiteral("scan"), QStringLiteral("--simulated-scanner"),
         QStringLiteral("--simulated-film-advance"), QStringLiteral("2"), QStringLiteral("--wait"),
         QStringLiteral("auto"), QStringLiteral("--count"), QStringLiteral("3"),
         QStringLiteral("--out"), root.filePath(QStringLiteral("scans"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList printed = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(printed.size(), 3) << run.out.toStdString();
    EXPECT_GT(test::LeastDistance(printed), 0.3) << "three different frames";
}

TEST(ScanProgramTest, BadArgumentsEndWithStatus2AndAMessage) {
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("scan"), QStringLiteral("--film"), QStringLiteral("colour")},
          QStringList{QStringLiteral("scan"), QStringLiteral("--size"), QStringLiteral("110")},
          QStringList{QStringLiteral("scan"), QStringLiteral("--resolution"),
                      QStringLiteral("max")},
          QStringList{QStringLiteral("scan"), QStringLiteral("--count"), QStringLiteral("0")},
          QStringList{QStringLiteral("scan"), QStringLiteral("--count"), QStringLiteral("x")},
          QStringList{QStringLiteral("scan"), QStringLiteral("--timeout-ms"), QStringLiteral("-5")},
          QStringList{QStringLiteral("scan"), QStringLiteral("--bogus")},
          QStringList{QStringLiteral("scan"), QStringLiteral("extra")}}) {
        const ProgramRun run = RunProgram(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("zevuvora scan:"))) << run.err.toStdString();
    }
}

// Test machines have no film scanner attached.
TEST(ScanProgramTest, NoScannerEndsWithStatus2) {
    QTemporaryDir root;
    const ProgramRun run =
        RunProgram({QStringLiteral("scan"), QStringLiteral("--out"), root.path()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("no film scanner found"))) << run.err.toStdString();
    EXPECT_TRUE(QDir(root.path()).isEmpty());
}

TEST(ScanProgramTest, HelpDescribesEveryOption) {
    const ProgramRun run = RunProgram({QStringLiteral("scan"), QStringLiteral("--help")});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* option :
         {"--film", "--size", "--resolution", "--out", "--count", "--simulated-scanner",
          "--timeout-ms", "--wait", "--auto", "--version"}) {
        EXPECT_TRUE(run.out.contains(QLatin1String(option))) << option;
    }
}

}  // namespace
}  // namespace zv
