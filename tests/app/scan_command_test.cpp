#include "app/scan_command.h"

#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"
#include "platform/sim/sim_device_bus.h"
#include "platform/sim/sim_device_config.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

class ScanCommandTest : public testing::Test {
protected:
    int Run(sim::SimDeviceConfig config, ScanOptions options, bool plug = true) {
        auto bus = std::make_shared<sim::SimDeviceBus>();
        if (plug) {
            bus->Plug(std::move(config), false);
        }
        if (options.outputFolder.isEmpty()) {
            options.outputFolder = Folder();
        }
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int status = ScanCommand(options, bus).Run();
        out = QString::fromStdString(testing::internal::GetCapturedStdout());
        err = QString::fromStdString(testing::internal::GetCapturedStderr());
        return status;
    }

    QString Folder() const { return root.filePath(QStringLiteral("scans")); }
    QStringList Files() const { return QDir(Folder()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir root;
    QString out;
    QString err;
};

TEST_F(ScanCommandTest, EveryFrameIsSavedNamedAfterTheOptionsAndPrinted) {
    ScanOptions options;
    options.filmTypeIndex = 1;
    options.filmSizeIndex = 1;
    options.resolutionIndex = 0;
    options.count = 2;
    ASSERT_EQ(Run(SmallScanner(), options), 0) << err.toStdString();
    const QStringList files = Files();
    ASSERT_EQ(files.size(), 2);
    for (const QString& file : files) {
        EXPECT_TRUE(file.startsWith(QStringLiteral("ZevuVora_negative_126_")))
            << file.toStdString();
        const QString path = QDir(Folder()).filePath(file);
        EXPECT_TRUE(out.contains(path)) << out.toStdString();
        EXPECT_EQ(QImage(path).size(), QSize(1497, 1497));
    }
}

TEST_F(ScanCommandTest, NoScannerEndsWithStatus2AndSaysHowToCheck) {
    ScanOptions options;
    EXPECT_EQ(Run(SmallScanner(), options, false), 2);
    EXPECT_TRUE(err.contains(QStringLiteral("no film scanner found"))) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
}

TEST_F(ScanCommandTest, StillsThatNeverArriveFailAfterTheTimeOut) {
    auto config = SmallScanner();
    config.capture.stillsPerTrigger = 0;
    ScanOptions options;
    options.count = 2;
    options.timeoutMs = 300;
    EXPECT_EQ(Run(config, options), 1);
    EXPECT_EQ(err.count(QStringLiteral("no picture from the scanner")), 2) << err.toStdString();
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(ScanCommandTest, AFolderThatCannotBeMadeFailsAndLeavesNoFile) {
    QFile blocker(root.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ScanOptions options;
    options.outputFolder = blocker.fileName() + QStringLiteral("/scans");
    EXPECT_EQ(Run(SmallScanner(), options), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("could not save"))) << err.toStdString();
    EXPECT_EQ(QDir(root.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("not-a-folder")});
}

TEST_F(ScanCommandTest, BlackAndWhiteIsAppliedThroughTheFilmTypeHandler) {
    ScanOptions options;
    options.filmTypeIndex = 2;
    ASSERT_EQ(Run(SmallScanner(), options), 0) << err.toStdString();
    ASSERT_EQ(Files().size(), 1);
    EXPECT_TRUE(Files().first().startsWith(QStringLiteral("ZevuVora_bw_135_5M_")));
}

}  // namespace
}  // namespace zv
