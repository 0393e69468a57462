#include "controls/xlabel.h"
#include "platform/sim/sim_scanner_filter.h"
#include "support/small_sim_scanner.h"
#include "support/wait.h"
#include "window/brasquel_dlg.h"
#include "window/crop_frame_overlay.h"
#include "window/last_scans_strip.h"
#include "window/video_widget.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace zv {
namespace {

using test::WaitUntil;

// The window on a running simulated scanner, shown and active (keys reach it as typed).
class ScanAidsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        window.OnInitDialog();
        UseFolder(Folder());
        window.SetScannerFilter(sim::SimScannerFilter::Create(test::SmallSimScanner()),
                                QStringLiteral("sim-0"));
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void UseFolder(const QString& folder) {
        window.Controls().setControlText(ctl::kSaveFolder, folder);
        window.UpdateData(true);
    }

    void ChooseFilmSize(int id) {
        window.Controls().checkRadioButton(ctl::kFilmSize135, ctl::kFilmSize126, id);
        window.UpdateData(true);
    }

    QString Folder() const { return root.filePath(QStringLiteral("scans")); }

    QTemporaryDir root;
    CBrasquelDlg window;
};

TEST_F(ScanAidsTest, StripShowsTheLastScansNewestFirstWithAFailureInRed) {
    ASSERT_EQ(window.StartCapture(), kOk);
    QStringList opened;
    window.LastScans().SetOpener([&](const QString& path) { opened << path; });
    for (int scan = 0; scan < LastScansStrip::kCapacity; ++scan) {
        window.OnScan();
        ASSERT_TRUE(WaitUntil([&] { return window.SavedImageCount() == scan + 1; }));
    }
    // A folder below a file cannot be made: the sixth scan fails and pushes the oldest out.
    QFile blocker(root.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    UseFolder(blocker.fileName() + QStringLiteral("/scans"));
    window.OnScan();
    ASSERT_TRUE(WaitUntil([&] { return window.LastScans().Entries().front().result != kOk; }));

    QStringList files = QDir(Folder()).entryList(QDir::Files, QDir::Name | QDir::Reversed);
    ASSERT_EQ(files.size(), LastScansStrip::kCapacity);
    const auto& entries = window.LastScans().Entries();
    ASSERT_EQ(entries.size(), std::size_t{LastScansStrip::kCapacity});
    EXPECT_TRUE(entries[0].thumbnail.isNull());
    EXPECT_EQ(window.LastScans().Tile(0)->toolTip(), window.StatusDetail());
    EXPECT_TRUE(window.LastScans().Tile(0)->accessibleDescription().contains(
        QStringLiteral("Save image failed")));
    const QImage failed = window.LastScans().Tile(0)->icon().pixmap(QSize(120, 80)).toImage();
    EXPECT_GT(failed.pixelColor(4, 4).red(), 200);
    EXPECT_LT(failed.pixelColor(4, 4).green(), 60);
    // Saved files, newest first (names carry the time), each with its own thumbnail.
    ASSERT_TRUE(WaitUntil([&] {
        return std::all_of(entries.begin() + 1, entries.end(),
                           [](const auto& entry) { return !entry.thumbnail.isNull(); });
    }));
    for (int index = 1; index < LastScansStrip::kCapacity; ++index) {
        EXPECT_EQ(entries[index].path, QDir(Folder()).filePath(files[index - 1]));
        EXPECT_EQ(entries[index].thumbnail.size(), QSize(120, 80));
        EXPECT_EQ(window.LastScans().Tile(index)->toolTip(), entries[index].path);
    }

    QTest::mouseClick(window.LastScans().Tile(0), Qt::LeftButton);
    QTest::mouseClick(window.LastScans().Tile(2), Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{entries[2].path});
}

TEST_F(ScanAidsTest, SpaceScansFromTheWindowButTypesIntoTheFolderField) {
    ASSERT_EQ(window.StartCapture(), kOk);
    auto* folder = window.Controls().ControlAs<QLineEdit>(ctl::kSaveFolder);
    folder->setFocus();
    QTest::keyClick(folder, Qt::Key_Space);
    EXPECT_FALSE(window.IsScanTimerArmed());
    EXPECT_EQ(folder->text(), Folder() + QLatin1Char(' '));
    folder->setText(Folder());

    // Focus on a button: Space scans rather than pressing it.
    window.Controls().Control(ctl::kFilmSize126)->setFocus();
    QTest::keyClick(window.Controls().Control(ctl::kFilmSize126), Qt::Key_Space);
    ASSERT_TRUE(WaitUntil([&] { return window.SavedImageCount() == 1; }));
    EXPECT_EQ(window.FilmSizeIndex(), 0);
    EXPECT_TRUE(window.Controls().Control(ctl::kScan)->toolTip().contains(QStringLiteral("Space")));
}

struct BandCase {
    int filmSizeId;
    // The band's height over the picture's width: 3:2 for 135, the whole square for 126.
    double heightOverWidth;
};

class CropFrameTest : public ScanAidsTest, public testing::WithParamInterface<BandCase> {};

TEST_P(CropFrameTest, FramesTheBandTheStillKeepsOnlyWhileThereIsAPreview) {
    EXPECT_TRUE(window.CropFrame().Band().isEmpty());
    ChooseFilmSize(GetParam().filmSizeId);
    ASSERT_EQ(window.StartCapture(), kOk);
    const auto* video = window.PreviewArea().findChild<VideoWidget*>();
    ASSERT_NE(video, nullptr);
    const QRectF picture = video->geometry();
    const QRectF band = window.CropFrame().Band();
    const double height = picture.width() * GetParam().heightOverWidth;
    // Full width, centred, inside the picture: what the writer keeps of the still.
    EXPECT_NEAR(band.left(), picture.left(), 1.0);
    EXPECT_NEAR(band.width(), picture.width(), 1.0);
    EXPECT_NEAR(band.height(), height, 1.0);
    EXPECT_NEAR(band.center().y(), picture.center().y(), 1.0);
    EXPECT_TRUE(window.CropFrame().isVisible());

    window.StopCapture();
    EXPECT_TRUE(window.CropFrame().Band().isEmpty());
    EXPECT_FALSE(window.CropFrame().isVisible());
}

INSTANTIATE_TEST_SUITE_P(FilmSizes, CropFrameTest,
                         testing::Values(BandCase{ctl::kFilmSize135, 2.0 / 3.0},
                                         BandCase{ctl::kFilmSize126, 1.0}));

}  // namespace
}  // namespace zv
