#include "controls/xlabel.h"
#include "session/failure_reason.h"
#include "settings/default_save_folder.h"
#include "support/jpeg_frame.h"
#include "support/wait.h"
#include "window/brasquel_dlg.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <atomic>
#include <cerrno>
#include <gtest/gtest.h>
#include <span>
#include <thread>

namespace zv {
namespace {

using test::Bytes;
using test::MakeJpegFrame;
using test::WaitUntil;

constexpr ColorRef kBlue = Rgb(0, 122, 217);
constexpr ColorRef kRed = Rgb(255, 0, 0);

class ScanFlowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        window.OnInitDialog();
        UseFolder(root.filePath(QStringLiteral("scans")));
        UseStillFormat(640, 480);
    }

    void UseFolder(const QString& folder) {
        window.Controls().setControlText(ctl::kSaveFolder, folder);
        window.UpdateData(true);
    }

    void UseStillFormat(int width, int height) {
        *window.MutableStillFormatRecord() = StillFormat{width, height};
        window.PublishSaveSettings();
        frame = MakeJpegFrame(width, height);
    }

    std::span<const std::uint8_t> Frame() const {
        return {Bytes(frame), static_cast<std::size_t>(frame.size())};
    }

    // Delivers the frame on a thread of its own, as the capture graph does.
    Status DeliverFrame() {
        Status result = kFail;
        std::thread streaming([&] { result = window.SaveStillFrame(0.0, Frame()); });
        streaming.join();
        return result;
    }

    QStringList SavedFiles(const QString& folder) const {
        // Hidden files too: a temporary file left behind counts.
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    void ExpectStatus(const QString& text, ColorRef colour) {
        const CXLabel& status = window.StatusLine();
        EXPECT_EQ(status.Text(), text);
        EXPECT_EQ(status.TextColor(), colour);
        EXPECT_EQ(status.FontDescription().weight, 700);
        EXPECT_EQ(status.BackgroundColor(), Rgb(255, 255, 0));
    }

    QTemporaryDir root;
    CBrasquelDlg window;
    QByteArray frame;
};

TEST_F(ScanFlowTest, AFrameIsSavedNamedSizedAndCountedInBlue) {
    const QString folder = root.filePath(QStringLiteral("scans"));
    ASSERT_EQ(DeliverFrame(), kOk);
    ASSERT_TRUE(WaitUntil([&] { return window.SavedImageCount() == 1; }));

    const QStringList files = SavedFiles(folder);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^ZevuVora_slide_135_5M_\\d{8}_\\d{9}\\.jpg$"))
                    .match(files.first())
                    .hasMatch())
        << files.first().toStdString();
    EXPECT_EQ(QImage(folder + QLatin1Char('/') + files.first()).size(), QSize(2592, 1728));
    ExpectStatus(QStringLiteral("1"), kBlue);
    EXPECT_FALSE(window.IsScanTimerArmed());
    // The details say where it went, as one would type the path.
    EXPECT_TRUE(window.StatusDetail().contains(folder + QLatin1Char('/') + files.first()))
        << window.StatusDetail().toStdString();
    EXPECT_EQ(window.StatusLine().accessibleDescription(), window.StatusDetail());
}

TEST_F(ScanFlowTest, A135StillNoWiderThanThePreviewSaysTheImageWasEnlarged) {
    UseStillFormat(1280, 960);
    ASSERT_EQ(DeliverFrame(), kOk);
    ASSERT_TRUE(WaitUntil([&] { return window.SavedImageCount() == 1; }));
    EXPECT_TRUE(window.StatusDetail().contains(QStringLiteral("enlarged from 1280x960")))
        << window.StatusDetail().toStdString();
}

TEST_F(ScanFlowTest, FilmSize126AtTheLowerResolutionIsSquare) {
    window.Controls().checkRadioButton(ctl::kFilmSize135, ctl::kFilmSize126, ctl::kFilmSize126);
    window.UpdateData(true);
    UseStillFormat(720, 720);
    ASSERT_EQ(DeliverFrame(), kOk);
    const QString folder = root.filePath(QStringLiteral("scans"));
    const QStringList files = SavedFiles(folder);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files.first().startsWith(QStringLiteral("ZevuVora_slide_126_5M_")));
    EXPECT_EQ(QImage(folder + QLatin1Char('/') + files.first()).size(), QSize(1497, 1497));
}

TEST_F(ScanFlowTest, TwoQuickSavesGiveTwoFilesAndCountTwo) {
    ASSERT_EQ(DeliverFrame(), kOk);
    ASSERT_EQ(DeliverFrame(), kOk);
    ASSERT_TRUE(WaitUntil([&] { return window.SavedImageCount() == 2; }));
    EXPECT_EQ(SavedFiles(root.filePath(QStringLiteral("scans"))).size(), 2);
    ExpectStatus(QStringLiteral("2"), kBlue);
}

TEST_F(ScanFlowTest, AMissingParentFolderFailsInRedAndLeavesTheCount) {
    const QString folder = root.filePath(QStringLiteral("missing/child/"));
    UseFolder(folder);
    EXPECT_NE(DeliverFrame(), kOk);
    ASSERT_TRUE(WaitUntil([&] { return !window.StatusLine().Text().isEmpty(); }));
    ExpectStatus(QStringLiteral("1"), kRed);
    EXPECT_EQ(window.SavedImageCount(), 0);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(window.StatusDetail().contains(QStringLiteral("the folder does not exist")))
        << window.StatusDetail().toStdString();
}

TEST_F(ScanFlowTest, AnUndecodableFrameFailsInRedAndWritesNothing) {
    frame = QByteArray("not a picture at all");
    EXPECT_NE(DeliverFrame(), kOk);
    ASSERT_TRUE(WaitUntil([&] { return !window.StatusLine().Text().isEmpty(); }));
    ExpectStatus(QStringLiteral("1"), kRed);
    EXPECT_TRUE(SavedFiles(root.filePath(QStringLiteral("scans"))).isEmpty());
    EXPECT_TRUE(window.StatusDetail().contains(QStringLiteral("damaged")));
}

TEST_F(ScanFlowTest, TimeOutShowsTheWouldBeNumberInRedThenALateFrameTurnsBlue) {
    window.OnTimer();
    ExpectStatus(QStringLiteral("1"), kRed);
    EXPECT_EQ(window.SavedImageCount(), 0);
    EXPECT_TRUE(window.StatusDetail().contains(
        QStringLiteral("no picture from the scanner within 2 seconds")));

    ASSERT_EQ(DeliverFrame(), kOk);
    ASSERT_TRUE(WaitUntil([&] { return window.SavedImageCount() == 1; }));
    ExpectStatus(QStringLiteral("1"), kBlue);

    window.OnTimer();
    ExpectStatus(QStringLiteral("2"), kRed);
    EXPECT_EQ(window.SavedImageCount(), 1);
}

TEST_F(ScanFlowTest, ClearingTheStatusKeepsItsLook) {
    window.OnTimer();
    window.ShowStatus(0, 0);
    EXPECT_TRUE(window.StatusLine().Text().isEmpty());
    EXPECT_TRUE(window.StatusDetail().isEmpty());
    EXPECT_EQ(window.StatusLine().TextColor(), kRed);
    window.ShowStatus(1, 0);
    EXPECT_TRUE(window.StatusLine().Text().isEmpty());
}

// The causes a save cannot be made to meet here (the tests run as any user) in the words the
// details use: the true cause, not the error a later step ran into.
TEST(FailureReasonTest, CausesOfWriteFailuresAreNamed) {
    EXPECT_TRUE(FailureReason(StatusFromErrno(EACCES)).startsWith(QStringLiteral("permission")));
    EXPECT_TRUE(FailureReason(StatusFromErrno(EROFS)).startsWith(QStringLiteral("permission")));
    EXPECT_EQ(FailureReason(StatusFromErrno(ENOSPC)), QStringLiteral("the disk is full"));
    EXPECT_FALSE(FailureReason(StatusFromErrno(ELOOP)).contains(QStringLiteral("0x")));
}

TEST_F(ScanFlowTest, ScanWithoutAScannerArmsNothing) {
    window.OnScan();
    EXPECT_FALSE(window.IsScanTimerArmed());
}

// Saves finishing on the streaming thread while the GUI thread keeps timing out: every saved
// image counts once, every time-out leaves the count as it was.
TEST_F(ScanFlowTest, SavesRacingTimeOutsCountEverySavedImageOnce) {
    constexpr int kFrames = 6;
    std::atomic<int> delivered{0};
    std::thread streaming([&] {
        for (int i = 0; i < kFrames; ++i) {
            IgnoreStatus(window.SaveStillFrame(0.0, Frame()));
            delivered.fetch_add(1);
        }
    });
    while (delivered.load() < kFrames) {
        window.OnTimer();
        QCoreApplication::processEvents();
    }
    streaming.join();
    ASSERT_TRUE(WaitUntil([&] { return window.SavedImageCount() == kFrames; }));
    window.OnTimer();
    EXPECT_EQ(window.SavedImageCount(), kFrames);
    ExpectStatus(QString::number(kFrames + 1), kRed);
}

// The desktop names a pictures folder that does not exist yet, as on a fresh account.
class MissingPicturesFolder {
protected:
    MissingPicturesFolder() : m_previous(qgetenv("XDG_CONFIG_HOME")) {
        QFile dirs(home.filePath(QStringLiteral("user-dirs.dirs")));
        EXPECT_TRUE(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_PICTURES_DIR=\"" + QFile::encodeName(home.filePath("fresh/Pictures")) +
                   "\"\n");
        dirs.close();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    }
    ~MissingPicturesFolder() {
        if (m_previous.isNull()) {
            qunsetenv("XDG_CONFIG_HOME");
        } else {
            qputenv("XDG_CONFIG_HOME", m_previous);
        }
    }

    QTemporaryDir home;

private:
    QByteArray m_previous;
};

// First base first: the window is made with the pictures folder above.
class DefaultFolderScanTest : public MissingPicturesFolder, public ScanFlowTest {};

TEST_F(DefaultFolderScanTest, TheDefaultFolderIsCreatedWithItsParentsAChosenOneIsNot) {
    UseFolder(DefaultSaveFolder());
    ASSERT_EQ(DeliverFrame(), kOk);
    EXPECT_EQ(SavedFiles(home.filePath(QStringLiteral("fresh/Pictures/ZevuVora"))).size(), 1);

    // The same kind of folder typed by the user may be an unmounted drive's: not created.
    UseFolder(home.filePath(QStringLiteral("drive/Pictures/ZevuVora")));
    EXPECT_EQ(DeliverFrame(), StatusFromErrno(ENOENT));
    EXPECT_FALSE(QFileInfo::exists(home.filePath(QStringLiteral("drive"))));
}

// The close sequence applies the outcome of a save that finished before it, without waiting
// for the posted call.
TEST_F(ScanFlowTest, CloseAppliesOutcomesOfFinishedSaves) {
    ASSERT_EQ(DeliverFrame(), kOk);
    window.OnClose();
    EXPECT_EQ(window.SavedImageCount(), 1);
    ExpectStatus(QStringLiteral("1"), kBlue);
}

}  // namespace
}  // namespace zv
