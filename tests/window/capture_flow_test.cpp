#include "capture/capture_controller.h"
#include "controls/xlabel.h"
#include "platform/media/filter_graph.h"
#include "platform/media/media_guids.h"
#include "platform/media/stream_config.h"
#include "platform/media/video_info.h"
#include "platform/sim/sim_scanner_filter.h"
#include "support/small_sim_scanner.h"
#include "support/wait.h"
#include "window/brasquel_dlg.h"
#include "window/video_widget.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>
#include <string>

namespace zv {
namespace {

using namespace std::chrono_literals;
using media::kSubtypeMjpg;
using media::MakeVideoInfoType;
using test::WaitUntil;

media::FrameSize CurrentSize(const media::StreamConfig* config) {
    std::unique_ptr<media::MediaType> type;
    if (config == nullptr || config->GetFormat(&type) != kOk) {
        return {};
    }
    return media::ReadVideoInfo(*type).value_or(media::VideoInfoFields{}).size;
}

class CaptureFlowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        window.OnInitDialog();
        window.Controls().setControlText(ctl::kSaveFolder, Folder());
        window.UpdateData(true);
    }

    void Connect(sim::SimScannerConfig config = test::SmallSimScanner()) {
        scanner = sim::SimScannerFilter::Create(std::move(config));
        window.SetScannerFilter(scanner, QStringLiteral("sim-0"));
    }

    void ChooseFilmSize(int id) {
        window.Controls().checkRadioButton(ctl::kFilmSize135, ctl::kFilmSize126, id);
        window.UpdateData(true);
    }

    QString Folder() const { return root.filePath(QStringLiteral("scans")); }
    // Hidden files too: a temporary file left behind counts.
    int FileCount() const {
        return static_cast<int>(QDir(Folder()).entryList(QDir::Files | QDir::Hidden).size());
    }

    QTemporaryDir root;
    CBrasquelDlg window;
    std::shared_ptr<sim::SimScannerFilter> scanner;
};

TEST_F(CaptureFlowTest, StartWithoutAScannerDoesNothing) {
    EXPECT_EQ(window.StartCapture(), kOk);
    EXPECT_EQ(window.Capture(), nullptr);
    window.StopCapture();
    window.StopCapture();
    EXPECT_EQ(window.Capture(), nullptr);
}

struct FormatCase {
    const char* name;
    int filmSizeId;
    media::FrameSize capture;
    media::FrameSize still;
};

class StartFormats : public CaptureFlowTest, public testing::WithParamInterface<FormatCase> {};

TEST_P(StartFormats, FilmSizeChoosesBothPinsAndRecordsTheStillFormat) {
    const FormatCase& c = GetParam();
    Connect();
    ChooseFilmSize(c.filmSizeId);
    EXPECT_EQ(window.StartCapture(), kOk);
    ASSERT_NE(window.Capture(), nullptr);
    EXPECT_EQ(CurrentSize(scanner->CapturePin()->GetStreamConfig()), c.capture);
    EXPECT_EQ(CurrentSize(scanner->StillPin()->GetStreamConfig()), c.still);
    EXPECT_EQ(window.StillFormatRecord()->width, c.still.width);
    EXPECT_EQ(window.StillFormatRecord()->height, c.still.height);
    EXPECT_EQ(scanner->State(), media::FilterState::kRunning);
}

INSTANTIATE_TEST_SUITE_P(
    FilmSizes, StartFormats,
    testing::Values(FormatCase{"Size135", ctl::kFilmSize135, {320, 240}, {1600, 1200}},
                    FormatCase{"Size126", ctl::kFilmSize126, {160, 160}, {600, 600}}),
    [](const testing::TestParamInfo<FormatCase>& param) { return std::string(param.param.name); });

TEST_F(CaptureFlowTest, ABusyDeviceIsReportedOnceAndTheStillFormatIsStillRecorded) {
    auto config = test::SmallSimScanner();
    config.runResult = kSharingViolation;
    Connect(config);
    int boxes = 0;
    QString text;
    QString title;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++boxes;
            text = box->text();
            title = box->windowTitle();
            box->accept();
        }
    });
    closer.start(10);
    IgnoreStatus(window.StartCapture());
    closer.stop();
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(text, QStringLiteral("Device is locked by another application"));
    EXPECT_EQ(title, QStringLiteral("ERROR"));
    EXPECT_EQ(window.StillFormatRecord()->width, 1600);
    ASSERT_NE(window.Capture(), nullptr);  // the graph is not torn down
}

TEST_F(CaptureFlowTest, ABusyDeviceGoesToTheErrorReporterWhenOneIsSet) {
    auto config = test::SmallSimScanner();
    config.runResult = kNoSystemResources;
    Connect(config);
    QStringList errors;
    window.SetErrorReporter([&](const QString& error) { errors << error; });
    IgnoreStatus(window.StartCapture());
    EXPECT_EQ(errors, QStringList{QStringLiteral("Device is locked by another application")});
}

TEST_F(CaptureFlowTest, AScannerWithoutStillPinPreviewsButCannotRecordAStill) {
    auto config = test::SmallSimScanner();
    config.hasStillPin = false;
    Connect(config);
    EXPECT_EQ(window.StartCapture(), kFail);
    ASSERT_NE(window.Capture(), nullptr);
    std::shared_ptr<media::Filter> found;
    EXPECT_NE(window.Capture()->Graph()->FindFilterByName(QStringLiteral("SG_Still"), &found), kOk);
    EXPECT_EQ(scanner->State(), media::FilterState::kRunning);
    EXPECT_FALSE(window.HasStillPin());
    // Scan still times out, and the details say why no picture came.
    window.OnScan();
    window.OnTimer();
    EXPECT_TRUE(window.StatusDetail().contains(QStringLiteral("no still picture format")));
}

struct PlacementCase {
    const char* name;
    int filmSizeId;
    media::FrameSize format;
    QSize area;
    QRect expected;
};

class Placement : public CaptureFlowTest, public testing::WithParamInterface<PlacementCase> {};

TEST_P(Placement, TheVideoIsAsTallAsTheAreaWithTheFormatsProportions) {
    const PlacementCase& c = GetParam();
    auto config = test::SmallSimScanner();
    config.captureFormats = {MakeVideoInfoType(kSubtypeMjpg, c.format.width, c.format.height)};
    Connect(config);
    ChooseFilmSize(c.filmSizeId);
    window.PreviewArea().resize(c.area);
    IgnoreStatus(window.StartCapture());

    auto* video = window.PreviewArea().findChild<VideoWidget*>();
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->geometry(), c.expected);
    EXPECT_EQ(video->Sink()->TargetSize(), c.expected.size()) << "decoded no larger than shown";
    EXPECT_FALSE(video->isHidden());
    EXPECT_EQ(window.PreviewArea().BackgroundColor(), 0u);

    ASSERT_EQ(window.PlacePreview(false), kOk);
    EXPECT_TRUE(video->isHidden());
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, Placement,
    testing::Values(
        PlacementCase{"Wide", ctl::kFilmSize135, {1280, 720}, {600, 400}, {0, 0, 711, 400}},
        PlacementCase{"Narrow", ctl::kFilmSize135, {640, 480}, {600, 400}, {0, 0, 533, 400}},
        PlacementCase{
            "SquareCentred", ctl::kFilmSize126, {1500, 1500}, {601, 400}, {100, 0, 400, 400}}),
    [](const testing::TestParamInfo<PlacementCase>& param) {
        return std::string(param.param.name);
    });

TEST_F(CaptureFlowTest, PlacingWithoutAGraphFailsAndLeavesTheBackground) {
    const ColorRef before = window.PreviewArea().BackgroundColor();
    EXPECT_EQ(window.PlacePreview(true), kFail);
    EXPECT_EQ(window.PreviewArea().BackgroundColor(), before);
}

TEST_F(CaptureFlowTest, AShortCaptureFormatBlockLeavesTheVideoUnplaced) {
    auto config = test::SmallSimScanner();
    config.captureFormats = {media::MakeShortVideoInfoType(kSubtypeMjpg, 320, 240, 80)};
    Connect(config);
    testing::internal::CaptureStdout();
    IgnoreStatus(window.StartCapture());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "[0] not FORMAT_VideoInfo\n");
    EXPECT_EQ(window.PlacePreview(true), kFail);
    EXPECT_TRUE(window.PreviewArea().findChild<VideoWidget*>()->isHidden());
}

TEST_F(CaptureFlowTest, StopThenStartBuildsEverythingAnew) {
    Connect();
    IgnoreStatus(window.StartCapture());
    std::vector<std::weak_ptr<media::Filter>> oldFilters;
    for (const auto& filter : window.Capture()->Graph()->EnumFilters()) {
        if (filter != scanner) {
            oldFilters.push_back(filter);
        }
    }
    window.StopCapture();
    EXPECT_EQ(window.Capture(), nullptr);
    EXPECT_EQ(scanner->Graph(), nullptr);
    EXPECT_EQ(scanner.use_count(), 2);  // the test and the window's scanner filter
    for (const auto& filter : oldFilters) {
        EXPECT_TRUE(filter.expired());
    }
    window.StopCapture();

    ChooseFilmSize(ctl::kFilmSize126);
    IgnoreStatus(window.StartCapture());
    ASSERT_NE(window.Capture(), nullptr);
    EXPECT_EQ(window.StillFormatRecord()->width, 600);
    EXPECT_EQ(scanner->State(), media::FilterState::kRunning);
}

TEST_F(CaptureFlowTest, StartOverARunningCaptureReplacesIt) {
    Connect();
    IgnoreStatus(window.StartCapture());
    std::weak_ptr<media::Filter> oldRenderer = window.Capture()->Graph()->EnumFilters().back();
    IgnoreStatus(window.StartCapture());
    EXPECT_TRUE(oldRenderer.expired());
    ASSERT_NE(window.Capture(), nullptr);
    EXPECT_EQ(window.Capture()->Graph()->EnumFilters().front(), scanner);
}

TEST_F(CaptureFlowTest, ScanSavesAFileThatIsNamedAndSizedWithinTheTimeOut) {
    Connect();
    window.show();
    IgnoreStatus(window.StartCapture());
    auto* video = window.PreviewArea().findChild<VideoWidget*>();
    ASSERT_NE(video, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return video->PaintCount() > 0; }));

    window.OnScan();
    EXPECT_TRUE(window.IsScanTimerArmed());
    ASSERT_TRUE(WaitUntil([&] { return window.SavedImageCount() == 1; }));
    EXPECT_FALSE(window.IsScanTimerArmed());
    const QStringList files = QDir(Folder()).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files.first().startsWith(QStringLiteral("ZevuVora_slide_135_5M_")));
    EXPECT_EQ(QImage(QDir(Folder()).filePath(files.first())).size(), QSize(2592, 1728));
    EXPECT_EQ(window.StatusLine().Text(), QStringLiteral("1"));
    EXPECT_EQ(window.StatusLine().TextColor(), Rgb(0, 122, 217));
}

TEST_F(CaptureFlowTest, TwoStillsForOneTriggerGiveTwoSaves) {
    auto config = test::SmallSimScanner();
    config.stillsPerTrigger = 2;
    Connect(config);
    IgnoreStatus(window.StartCapture());
    window.OnScan();
    ASSERT_TRUE(WaitUntil([&] { return window.SavedImageCount() == 2; }));
    EXPECT_EQ(FileCount(), 2);
}

TEST_F(CaptureFlowTest, AStillThatNeverComesTimesOutInRed) {
    auto config = test::SmallSimScanner();
    config.stillsPerTrigger = 0;
    Connect(config);
    IgnoreStatus(window.StartCapture());
    window.OnScan();
    ASSERT_TRUE(WaitUntil([&] { return !window.StatusLine().Text().isEmpty(); }, 10s));
    EXPECT_EQ(window.StatusLine().Text(), QStringLiteral("1"));
    EXPECT_EQ(window.StatusLine().TextColor(), Rgb(255, 0, 0));
    EXPECT_EQ(window.SavedImageCount(), 0);
    EXPECT_EQ(FileCount(), 0);
}

TEST_F(CaptureFlowTest, ScanWithoutCaptureArmsNoTimeOut) {
    Connect();
    window.OnScan();
    EXPECT_FALSE(window.IsScanTimerArmed());
}

// Stopping right after Scan, whether the save has begun, is running or is done: the stop
// returns, and every file on disk has been counted by the time it has.
TEST_F(CaptureFlowTest, StoppingDuringASaveNeverLosesItsOutcome) {
    Connect();
    for (int round = 0; round < 4; ++round) {
        IgnoreStatus(window.StartCapture());
        window.OnScan();
        if (round % 2 == 1) {
            WaitUntil([&] { return scanner->StillsDelivered() > round / 2; }, 100ms);
        }
        window.StopCapture();
        EXPECT_EQ(window.SavedImageCount(), FileCount()) << "round " << round;
    }
}

TEST_F(CaptureFlowTest, ClosingStopsTheCapture) {
    Connect();
    IgnoreStatus(window.StartCapture());
    window.OnClose();
    EXPECT_EQ(window.Capture(), nullptr);
    EXPECT_EQ(scanner->State(), media::FilterState::kStopped);
}

}  // namespace
}  // namespace zv
