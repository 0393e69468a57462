#include "platform/media/media_status.h"
#include "platform/v4l2/v4l2_still_delivery.h"
#include "platform/v4l2_source_filter_fixture.h"
#include "support/wait.h"

#include <algorithm>
#include <limits>

namespace zv::v4l2 {
namespace {

using namespace test;

TEST_F(SourceFilterFixture, StillTriggerSwitchesTheStreamTakesOneFrameAndSwitchesBack) {
    Plug();
    ASSERT_NO_FATAL_FAILURE(RunWithStill(QSize(2592, 1944), QSize(640, 480)));
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= 1; }));
    io->ClearLog();
    ASSERT_EQ(Trigger(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return still.Count() >= 1; }));
    const int previewAtStill = preview.Count();
    // The preview resumes by itself.
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= previewAtStill + 1; }));
    graph->Stop();

    const Lines log = StreamLog();
    const Lines sequence = {
        "STREAMOFF", "REQBUFS 0", "S_FMT MJPG 2592x1944", "S_PARM 1/30", "REQBUFS 4", "STREAMON",
        "STREAMOFF", "REQBUFS 0", "S_FMT MJPG 640x480",   "S_PARM 1/30", "REQBUFS 4", "STREAMON"};
    ASSERT_GE(log.size(), sequence.size());
    EXPECT_EQ(Lines(log.begin(), log.begin() + static_cast<std::ptrdiff_t>(sequence.size())),
              sequence);
    ASSERT_EQ(still.Count(), 1);
    const FrameId taken = IdOf(still.Sample(0));
    EXPECT_EQ(taken.width, 2592u);
    EXPECT_EQ(taken.height, 1944u);
    // Every preview frame, also the ones after the still, is in the preview format.
    for (int i = 0; i < preview.Count(); ++i) {
        EXPECT_EQ(IdOf(preview.Sample(i)).width, 640u) << i;
    }
    // The first frames after each switch were skipped: the still is the third frame of its
    // stream, and the preview resumes with the third frame of its own.
    std::uint32_t before = 0;
    std::uint32_t after = std::numeric_limits<std::uint32_t>::max();
    for (int i = 0; i < preview.Count(); ++i) {
        const std::uint32_t number = IdOf(preview.Sample(i)).number;
        if (number < taken.number) {
            before = std::max(before, number);
        } else {
            after = std::min(after, number);
        }
    }
    EXPECT_GE(taken.number, before + 3);
    EXPECT_GE(after, taken.number + 3);
}

TEST_F(SourceFilterFixture, StillInThePreviewFormatIsTheNextFrameWithoutASwitch) {
    Plug();
    ASSERT_NO_FATAL_FAILURE(RunWithStill(QSize(640, 480), QSize(640, 480)));
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= 1; }));
    io->ClearLog();
    ASSERT_EQ(Trigger(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return still.Count() >= 1; }));
    graph->Stop();
    EXPECT_EQ(StreamLog(), (Lines{"STREAMOFF", "REQBUFS 0"}));  // the stop only
    EXPECT_EQ(IdOf(still.Sample(0)).width, 640u);
}

TEST_F(SourceFilterFixture, EveryTriggerGivesOneStill) {
    Plug();
    ASSERT_NO_FATAL_FAILURE(RunWithStill(QSize(3000, 3000)));
    ASSERT_EQ(Trigger(), kOk);
    ASSERT_EQ(Trigger(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return still.Count() >= 2; }));
    ASSERT_EQ(Trigger(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return still.Count() >= 3; }));
    const int previewAfter = preview.Count();
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() > previewAfter; }));
    graph->Stop();
    EXPECT_EQ(still.Count(), 3);
    EXPECT_EQ(filter->StillsDelivered(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(IdOf(still.Sample(i)).width, 3000u) << i;
    }
}

TEST_F(SourceFilterFixture, BrokenStillFramesAreNotTaken) {
    Plug();
    io->SetFrameProducer(
        [](std::uint32_t pixelFormat, std::uint32_t width, std::uint32_t height, int number) {
            test::ScriptedFrame frame =
                test::ScriptedV4l2Io::DefaultFrame(pixelFormat, width, height, number);
            // The large format's first complete frames arrive damaged or cut.
            if (width == 2592 && number % 3 != 0) {
                frame.flags = number % 3 == 1 ? V4L2_BUF_FLAG_ERROR : 0;
                frame.bytes.resize(number % 3 == 2 ? 6 : frame.bytes.size());
            }
            return frame;
        });
    ASSERT_NO_FATAL_FAILURE(RunWithStill(QSize(2592, 1944)));
    ASSERT_EQ(Trigger(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return still.Count() >= 1; }));
    graph->Stop();
    const FrameId taken = IdOf(still.Sample(0));
    EXPECT_EQ(taken.width, 2592u);
    EXPECT_EQ(taken.number % 3, 0u);
}

TEST_F(SourceFilterFixture, StillThatNeverComesIsGivenUpAndThePreviewResumes) {
    timing.stillTimeoutMs = 150;
    Plug();
    ASSERT_NO_FATAL_FAILURE(RunWithStill(QSize(2592, 1944)));
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= 1; }));
    io->AllowFrames(0);  // the device stops sending
    io->ClearLog();
    ASSERT_EQ(Trigger(), kOk);
    const auto backToPreview = [&] {
        const Lines log = io->Log();
        return std::count(log.begin(), log.end(), "S_FMT MJPG 640x480") >= 1;
    };
    ASSERT_TRUE(test::WaitUntil(backToPreview));
    const int atGiveUp = preview.Count();
    io->AllowFrames(-1);
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() > atGiveUp; }));
    graph->Stop();
    EXPECT_EQ(still.Count(), 0);
    EXPECT_FALSE(filter->StreamLost());
}

TEST_F(SourceFilterFixture, StillFormatTheDeviceRefusesLeavesThePreviewRunning) {
    Plug();
    ASSERT_NO_FATAL_FAILURE(RunWithStill(QSize(3000, 3000)));
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= 1; }));
    // The large format needs more bandwidth than the bus has left.
    io->ChangeNode(kNode, [](test::ScriptedNode& node) { node.noBandwidthSizes = {{3000, 3000}}; });
    io->ClearLog();
    ASSERT_EQ(Trigger(), kOk);
    const auto backToPreview = [&] {
        const Lines log = io->Log();
        return std::count(log.begin(), log.end(), "S_FMT MJPG 3000x3000") == 1 &&
               std::count(log.begin(), log.end(), "S_FMT MJPG 640x480") == 1 &&
               log.back() == "STREAMON";
    };
    ASSERT_TRUE(test::WaitUntil(backToPreview));
    EXPECT_EQ(still.Count(), 0);
    io->ChangeNode(kNode, [](test::ScriptedNode& node) { node.noBandwidthSizes.clear(); });
    ASSERT_EQ(Trigger(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return still.Count() >= 1; }));
    const int atStill = preview.Count();
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() > atStill; }));
    graph->Stop();
    EXPECT_EQ(still.Count(), 1);
}

TEST_F(SourceFilterFixture, VideoControlOnlyTriggersTheRunningStillPin) {
    Plug();
    Build();
    media::VideoControl& control = *filter->GetVideoControl();
    std::int32_t flags = -1;
    ASSERT_EQ(control.GetCaps(*filter->StillPin(), &flags), kOk);
    EXPECT_EQ(flags, media::kVideoControlFlagTrigger);
    ASSERT_EQ(control.GetCaps(*filter->CapturePin(), &flags), kOk);
    EXPECT_EQ(flags, 0);
    EXPECT_EQ(Trigger(), media::kNotRunning);
    EXPECT_EQ(control.SetMode(*filter->CapturePin(), media::kVideoControlFlagTrigger), kInvalidArg);
    media::NullRenderer other;
    EXPECT_EQ(control.SetMode(*other.GetPin(0), 0), kInvalidArg);
    ASSERT_EQ(graph->Run(), kOk);
    ASSERT_EQ(Trigger(), kOk);
    std::int32_t mode = -1;
    ASSERT_EQ(control.GetMode(*filter->StillPin(), &mode), kOk);
    EXPECT_EQ(mode, 0);  // the trigger is an event, not a mode
}

TEST_F(SourceFilterFixture, StillsHandedOverBeforeAStopAreAllDelivered) {
    Plug();
    Build();
    V4l2StillDelivery delivery;
    delivery.SetPin(filter->StillPin());
    delivery.Start(MakeFormatType(V4L2_PIX_FMT_MJPEG, 640, 480, 1, 30));
    for (std::uint8_t i = 0; i < 5; ++i) {
        delivery.Push(Bytes{0xFF, 0xD8, i, 0xFF, 0xD9}, i);
    }
    delivery.Stop();
    EXPECT_EQ(delivery.Delivered(), 5);
    ASSERT_EQ(still.Count(), 5);
    EXPECT_EQ(static_cast<std::uint8_t>(still.Sample(4)[2]), 4);
    delivery.Push(Bytes{0xFF, 0xD8, 0xFF, 0xD9}, 0);  // after the stop: dropped
    EXPECT_EQ(still.Count(), 5);
}

}  // namespace
}  // namespace zv::v4l2
