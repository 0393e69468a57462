#include "platform/devices/scanner_contract.h"
#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"
#include "platform/v4l2_source_filter_fixture.h"
#include "support/wait.h"

#include <cerrno>
#include <chrono>

namespace zv::v4l2 {
namespace {

using namespace std::chrono_literals;
using namespace test;

TEST_F(SourceFilterFixture, PinsOfferTheNodesFormats) {
    Plug();
    const auto bound = Bind();
    ASSERT_NE(bound, nullptr);
    ASSERT_EQ(bound->PinCount(), 2);
    EXPECT_EQ(bound->GetPin(0), bound->CapturePin());
    Guid category;
    ASSERT_EQ(bound->CapturePin()->QueryCategory(&category), kOk);
    EXPECT_EQ(category, media::kPinCategoryCapture);
    ASSERT_EQ(bound->StillPin()->QueryCategory(&category), kOk);
    EXPECT_EQ(category, media::kPinCategoryStill);
    EXPECT_EQ(bound->KindName(), QStringLiteral("Virtual Film Scanner: Film Scanner"));

    int count = 0;
    int size = 0;
    ASSERT_EQ(bound->CapturePin()->GetStreamConfig()->GetNumberOfCapabilities(&count, &size), kOk);
    EXPECT_EQ(count, 4);  // three MJPEG sizes and one YUYV
    ASSERT_EQ(bound->StillPin()->GetStreamConfig()->GetNumberOfCapabilities(&count, &size), kOk);
    EXPECT_EQ(count, 3);  // MJPEG only
    std::vector<std::byte> caps(static_cast<std::size_t>(size));
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<media::MediaType> type;
        ASSERT_EQ(bound->StillPin()->GetStreamConfig()->GetStreamCaps(i, &type, caps), kOk);
        EXPECT_EQ(type->Subtype(), media::kSubtypeMjpg);
        EXPECT_TRUE(media::IsWholeVideoInfo(*type));
    }
    EXPECT_NE(bound->GetKsControl(), nullptr);
    EXPECT_NE(bound->GetKsTopologyInfo(), nullptr);
    EXPECT_NE(bound->GetVideoProcAmp(), nullptr);
    EXPECT_NE(bound->GetCameraControl(), nullptr);
    std::uint32_t nodes = 0;
    ASSERT_EQ(bound->GetKsTopologyInfo()->GetNumNodes(&nodes), kOk);
    EXPECT_EQ(nodes, 3u);  // from the descriptors in sysfs
}

TEST_F(SourceFilterFixture, CurrentFormatIsTheOneTheNodeIsSetTo) {
    test::ScriptedNode node = ScannerNode();
    Plug(node);
    {
        // Another program left the node at 2592x1944.
        const int fd = io->Open(kNode);
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        format.fmt.pix.pixelformat = V4L2_PIX_FMT_MJPEG;
        format.fmt.pix.width = 2592;
        format.fmt.pix.height = 1944;
        ASSERT_EQ(io->Ioctl(fd, VIDIOC_S_FMT, &format), 0);
        io->Close(fd);
    }
    const auto bound = Bind();
    std::unique_ptr<media::MediaType> current;
    ASSERT_EQ(bound->CapturePin()->GetStreamConfig()->GetFormat(&current), kOk);
    const std::optional<media::VideoInfoFields> info = media::ReadVideoInfo(*current);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->size, (media::FrameSize{2592, 1944}));
}

TEST_F(SourceFilterFixture, NodeWithoutMjpegHasNoStillPin) {
    test::ScriptedNode node = ScannerNode();
    node.formats.erase(node.formats.begin());
    Plug(node);
    const auto bound = Bind();
    ASSERT_NE(bound, nullptr);
    EXPECT_EQ(bound->PinCount(), 1);
    EXPECT_EQ(bound->StillPin(), nullptr);
}

TEST_F(SourceFilterFixture, NodesThatCannotBeBound) {
    test::ScriptedNode metadata = ScannerNode();
    metadata.deviceCaps = V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING;
    Plug(metadata);
    std::shared_ptr<V4l2SourceFilter> bound;
    EXPECT_EQ(V4l2SourceFilter::Create(io, ScannerInfo(), timing, &bound), kNotFound);
    EXPECT_EQ(bound, nullptr);
    io->ChangeNode(kNode, [](test::ScriptedNode& node) {
        node.deviceCaps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
        node.openErrno = EACCES;
    });
    EXPECT_EQ(V4l2SourceFilter::Create(io, ScannerInfo(), timing, &bound), StatusFromErrno(EACCES));
    EXPECT_EQ(io->OpenDescriptors(), 0);
}

TEST_F(SourceFilterFixture, PreviewSkipsTheFirstFramesAndDropsBrokenOnes) {
    Plug();
    io->SetFrameProducer(
        [](std::uint32_t pixelFormat, std::uint32_t width, std::uint32_t height, int number) {
            test::ScriptedFrame frame =
                test::ScriptedV4l2Io::DefaultFrame(pixelFormat, width, height, number);
            if (number == 3) {
                frame.flags = V4L2_BUF_FLAG_ERROR;
            } else if (number == 4) {
                frame.bytes.resize(frame.bytes.size() - 2);  // no end-of-image marker
            } else if (number == 5) {
                frame.bytes[0] = 0x00;  // no start-of-image marker
            } else if (number == 6) {
                frame.bytes.insert(frame.bytes.end(), 10, 0x00);  // zero padding after the end
            }
            return frame;
        });
    io->AllowFrames(8);
    Build();
    ASSERT_EQ(graph->Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= 3; }));
    graph->Stop();
    ASSERT_EQ(preview.Count(), 3);
    // 0 and 1 skipped after the start, 3, 4 and 5 dropped; 6 without its padding.
    EXPECT_EQ(IdOf(preview.Sample(0)).number, 2u);
    EXPECT_EQ(IdOf(preview.Sample(1)).number, 6u);
    EXPECT_EQ(IdOf(preview.Sample(2)).number, 7u);
    EXPECT_EQ(IdOf(preview.Sample(1)).width, 640u);
    EXPECT_EQ(still.Count(), 0);
}

TEST_F(SourceFilterFixture, YuyvPreviewFramesMustBeWhole) {
    Plug();
    io->SetFrameProducer(
        [](std::uint32_t pixelFormat, std::uint32_t width, std::uint32_t height, int number) {
            test::ScriptedFrame frame =
                test::ScriptedV4l2Io::DefaultFrame(pixelFormat, width, height, number);
            if (number == 2) {
                frame.bytes.pop_back();
            }
            return frame;
        });
    io->AllowFrames(4);
    filter = Bind();
    ASSERT_TRUE(SetFormat(*filter->CapturePin(), V4L2_PIX_FMT_YUYV, 320, 240));
    Build();
    ASSERT_EQ(graph->Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= 1; }));
    ASSERT_TRUE(test::WaitUntil([&] { return io->FramesDelivered() >= 4; }));
    graph->Stop();
    ASSERT_EQ(preview.Count(), 1);
    EXPECT_EQ(preview.Sample(0).size(), 320 * 240 * 2);
    EXPECT_EQ(static_cast<std::uint8_t>(preview.Sample(0)[0]), 3);
}

TEST_F(SourceFilterFixture, RunStreamsThePreviewFormatAndStopFreesEverything) {
    Plug();
    filter = Bind();
    ASSERT_TRUE(SetFormat(*filter->CapturePin(), V4L2_PIX_FMT_MJPEG, 640, 480));
    Build();
    io->ClearLog();
    ASSERT_EQ(graph->Run(), kOk);
    EXPECT_EQ(StreamLog(), (Lines{"S_FMT MJPG 640x480", "S_PARM 1/30", "REQBUFS 4", "STREAMON"}));
    EXPECT_EQ(io->MappedBuffers(), 4);
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= 2; }));
    io->ClearLog();
    graph->Stop();
    EXPECT_EQ(StreamLog(), (Lines{"STREAMOFF", "REQBUFS 0"}));
    EXPECT_EQ(io->MappedBuffers(), 0);
    const int atStop = preview.Count();
    EXPECT_FALSE(preview.InCall());
    EXPECT_EQ(preview.Count(), atStop);
    graph.reset();
    filter.reset();
    EXPECT_EQ(io->OpenDescriptors(), 0);
}

TEST_F(SourceFilterFixture, DeviceHeldByAnotherProgramFailsTheRunAsLocked) {
    test::ScriptedNode node = ScannerNode();
    node.busy = true;
    Plug(node);
    Build();
    EXPECT_EQ(graph->Run(), kSharingViolation);
    EXPECT_TRUE(contract::IsBusyStatus(kSharingViolation));
    EXPECT_EQ(filter->State(), media::FilterState::kStopped);
    EXPECT_EQ(io->MappedBuffers(), 0);
    io->ChangeNode(kNode, [](test::ScriptedNode& busy) { busy.busy = false; });
    EXPECT_EQ(graph->Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= 1; }));
}

TEST_F(SourceFilterFixture, SecondFilterOnTheSameNodeFailsAsLocked) {
    Plug();
    Build();
    ASSERT_EQ(graph->Run(), kOk);
    const auto second = Bind();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Run(), kSharingViolation);
    graph->Stop();
    EXPECT_EQ(second->Run(), kOk);
    second->Stop();
}

TEST_F(SourceFilterFixture, NoBandwidthIsItsOwnFailureNotTheLockedOne) {
    test::ScriptedNode node = ScannerNode();
    node.streamOnErrno = ENOSPC;
    Plug(node);
    Build();
    io->ClearLog();
    const Status status = graph->Run();
    EXPECT_EQ(status, MakeStatus(0x8007001C));
    EXPECT_FALSE(contract::IsBusyStatus(status));
    EXPECT_EQ(io->MappedBuffers(), 0);
    EXPECT_EQ(StreamLog().back(), "REQBUFS 0");
}

TEST_F(SourceFilterFixture, FormatTheDriverChangesFailsTheRun) {
    Plug();
    filter = Bind();
    ASSERT_TRUE(SetFormat(*filter->CapturePin(), V4L2_PIX_FMT_MJPEG, 2592, 1944));
    Build();
    // The driver no longer has that size: it would stream another.
    io->ChangeNode(kNode, [](test::ScriptedNode& node) { node.formats[0].sizes = {{640, 480}}; });
    EXPECT_EQ(graph->Run(), kInvalidArg);
    EXPECT_EQ(io->MappedBuffers(), 0);
}

TEST_F(SourceFilterFixture, StalledStreamIsRestarted) {
    timing.minStallMs = 50;
    timing.stallFrames = 1;
    Plug();
    io->AllowFrames(4);
    Build();
    ASSERT_EQ(graph->Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return filter->StreamRestarts() >= 1; }));
    const int atRestart = preview.Count();
    io->AllowFrames(-1);
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() > atRestart; }));
    graph->Stop();
    EXPECT_FALSE(filter->StreamLost());
}

TEST_F(SourceFilterFixture, BrokenStreamIsStartedAfresh) {
    Plug();
    Build();
    ASSERT_EQ(graph->Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= 1; }));
    io->BreakStream();
    ASSERT_TRUE(test::WaitUntil([&] { return filter->StreamRestarts() >= 1; }));
    const int atRestart = preview.Count();
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() > atRestart; }));
    graph->Stop();
    EXPECT_EQ(filter->StreamRestarts(), 1);
    EXPECT_FALSE(filter->StreamLost());
}

TEST_F(SourceFilterFixture, DeviceThatKeepsFailingIsRetriedAtAPace) {
    timing.minStallMs = 40;
    Plug();
    Build();
    ASSERT_EQ(graph->Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= 1; }));
    const auto started = std::chrono::steady_clock::now();
    io->SetPollErrors(true);
    ASSERT_TRUE(test::WaitUntil([&] { return filter->StreamRestarts() >= 4; }));
    // The first attempt at once, every further one after a pause.
    EXPECT_GE(std::chrono::steady_clock::now() - started, 3 * 40ms);
    io->SetPollErrors(false);
    const int atRecovery = preview.Count();
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() > atRecovery; }));
    graph->Stop();
    EXPECT_FALSE(filter->StreamLost());
}

TEST_F(SourceFilterFixture, UnplugEndsTheStreamAndTheFilterStopsCleanly) {
    Plug();
    Build();
    ASSERT_EQ(graph->Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= 1; }));
    io->Unplug();
    ASSERT_TRUE(test::WaitUntil([&] { return filter->StreamLost(); }));
    EXPECT_EQ(Trigger(), kOk);  // nothing left to take it; no still comes
    graph->Stop();
    EXPECT_EQ(io->MappedBuffers(), 0);
    EXPECT_EQ(still.Count(), 0);
    EXPECT_EQ(graph->Run(), devices::kDeviceNotConnected);
}

}  // namespace
}  // namespace zv::v4l2
