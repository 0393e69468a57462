#include "capture/settle_watcher.h"

#include "capture/capture_controller.h"
#include "platform/media/latest_frame.h"
#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"
#include "platform/sim/picture_parameters.h"
#include "platform/sim/sim_scanner_filter.h"
#include "support/wait.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

using namespace std::chrono_literals;
using test::WaitUntil;

// A settle takes half a second of rest: this many preview frames (20 ms apart) give a watcher
// time to fire twice over.
constexpr std::uint64_t kQuietFrames = 60;

class SettleWatcherTest : public testing::Test {
protected:
    void SetUp() override {
        sim::SimScannerConfig config;
        config.captureFormats = {media::MakeVideoInfoType(media::kSubtypeMjpg, 320, 240)};
        config.hasStillPin = false;
        config.previewInterval = 20ms;
        scanner = sim::SimScannerFilter::Create(std::move(config));
        StartCapture();
        QObject::connect(&watcher, &SettleWatcher::settled, [this] { ++settles; });
    }

    void TearDown() override { StopCapture(); }

    void StartCapture() {
        controller = std::make_unique<CaptureController>();
        controller->AttachDevice(scanner);
        ASSERT_EQ(controller->BuildGraph(), kOk);
        ASSERT_EQ(controller->RunGraph(), kOk);
    }

    void StopCapture() {
        if (controller) {
            controller->DestroyController();
            controller.reset();
        }
    }

    // Runs the watcher while `count` more preview frames come.
    bool WatchFrames(std::uint64_t count) {
        const auto frames = controller->PreviewFrames();
        const std::uint64_t until = frames->Count() + count;
        return WaitUntil([&] { return frames->Count() >= until; });
    }

    std::shared_ptr<sim::SimScannerFilter> scanner;
    std::unique_ptr<CaptureController> controller;
    SettleWatcher watcher{[this] { return controller ? controller->PreviewFrames() : nullptr; }};
    int settles = 0;
};

TEST_F(SettleWatcherTest, EachAdvanceSettlesOnceAndTheFrameOnScreenCountsAsTaken) {
    watcher.Start(SettleWatcher::StartWith::kPictureTaken);
    ASSERT_TRUE(WatchFrames(kQuietFrames));
    EXPECT_EQ(settles, 0);
    for (int advance = 1; advance <= 3; ++advance) {
        scanner->Film().Advance();
        ASSERT_TRUE(WaitUntil([&] { return settles >= advance; })) << "advance " << advance;
    }
    ASSERT_TRUE(WatchFrames(kQuietFrames));
    EXPECT_EQ(settles, 3);
}

TEST_F(SettleWatcherTest, AStartOnANewPictureTakesItOnceAlsoOverACaptureRestart) {
    watcher.Start(SettleWatcher::StartWith::kPictureNew);
    ASSERT_TRUE(WaitUntil([&] { return settles == 1; }));
    // The restarted capture shows the frame taken: no settle until the film moves.
    StopCapture();
    StartCapture();
    ASSERT_TRUE(WatchFrames(kQuietFrames));
    EXPECT_EQ(settles, 1);
    scanner->Film().Advance();
    ASSERT_TRUE(WaitUntil([&] { return settles == 2; }));

    // A stopped watcher tells nothing.
    watcher.Stop();
    scanner->Film().Advance();
    ASSERT_TRUE(WatchFrames(kQuietFrames));
    EXPECT_EQ(settles, 2);
}

TEST_F(SettleWatcherTest, AFilmTypeChangeIsNoNewFrameAfterARebaseOnly) {
    const int filmType = scanner->Parameters().Get(sim::PictureProperty::kFilmType);
    watcher.Start(SettleWatcher::StartWith::kPictureTaken);
    ASSERT_TRUE(WatchFrames(5));
    watcher.Rebase();
    scanner->Parameters().Set(sim::PictureProperty::kFilmType, 1 - filmType);
    ASSERT_TRUE(WatchFrames(kQuietFrames));
    EXPECT_EQ(settles, 0);
    // Without one, the other look of the same frame is another picture.
    scanner->Parameters().Set(sim::PictureProperty::kFilmType, filmType);
    ASSERT_TRUE(WaitUntil([&] { return settles == 1; }));
}

}  // namespace
}  // namespace zv
