#include "platform/v4l2/v4l2_source_filter.h"

#include "platform/devices/ks_property.h"
#include "platform/devices/scanner_contract.h"
#include "platform/media/filter_graph.h"
#include "platform/media/media_guids.h"
#include "platform/media/media_status.h"
#include "platform/media/null_renderer.h"
#include "platform/media/sample_grabber.h"
#include "platform/media/stream_config.h"
#include "platform/media/video_control.h"
#include "platform/media/video_info.h"
#include "platform/recording_callback.h"
#include "platform/scanner_node_info.h"
#include "platform/v4l2/v4l2_format_enumeration.h"
#include "platform/v4l2/v4l2_still_delivery.h"
#include "platform/v4l2_descriptor_blobs.h"
#include "platform/v4l2_scripted_io.h"
#include "support/wait.h"

#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>
#include <limits>

namespace zv::v4l2 {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

constexpr char kNode[] = "/dev/video1";
constexpr const char* kUsbDevice = test::kScannerUsbDevice;

test::ScriptedNode ScannerNode() {
    test::ScriptedNode node;
    node.devnode = kNode;
    node.card = "Virtual Film Scanner";
    node.formats = {{V4L2_PIX_FMT_MJPEG, {{640, 480}, {2592, 1944}, {3000, 3000}}, {{1, 30}}},
                    {V4L2_PIX_FMT_YUYV, {{320, 240}}, {{1, 30}}}};
    return node;
}

V4l2NodeInfo ScannerInfo() {
    return test::ScannerNodeInfo(kNode);
}

// The frame number the scripted device wrote into a default MJPEG frame, its width and height.
struct FrameId {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t number = 0;
};

FrameId IdOf(const QByteArray& frame) {
    FrameId id;
    if (frame.size() != 16) {
        return id;
    }
    const auto at = [&](int offset) {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(frame[offset + i]))
                     << (8 * i);
        }
        return value;
    };
    id.width = at(2);
    id.height = at(6);
    id.number = at(10);
    return id;
}

bool SetFormat(media::Pin& pin, std::uint32_t pixelFormat, std::uint32_t width,
               std::uint32_t height) {
    return pin.GetStreamConfig()->SetFormat(MakeFormatType(pixelFormat, width, height, 1, 30)) ==
           kOk;
}

class SourceFilterFixture : public testing::Test {
protected:
    SourceFilterFixture() : io(std::make_shared<test::ScriptedV4l2Io>()) {
        timing.stillTimeoutMs = 3000;
    }
    ~SourceFilterFixture() override {
        if (graph != nullptr) {
            IgnoreStatus(graph->Stop());
        }
    }

    void Plug(test::ScriptedNode node = ScannerNode()) {
        io->AddNode(std::move(node));
        io->SetFile(std::string(kUsbDevice) + "/descriptors",
                    Bytes(test::kScannerDescriptors.begin(), test::kScannerDescriptors.end()));
    }

    std::shared_ptr<V4l2SourceFilter> Bind() {
        std::shared_ptr<V4l2SourceFilter> bound;
        EXPECT_EQ(V4l2SourceFilter::Create(io, ScannerInfo(), timing, &bound), kOk);
        return bound;
    }

    // The filter in a graph with a grabber and a null renderer on each pin. Formats are chosen
    // before (Choose), as the capture engine does: a connected pin keeps its format.
    void Build() {
        if (filter == nullptr) {
            filter = Bind();
        }
        ASSERT_NE(filter, nullptr);
        graph = std::make_unique<media::FilterGraph>();
        ASSERT_EQ(graph->AddFilter(filter, QStringLiteral("Device Source")), kOk);
        Branch(*filter->CapturePin(), preview);
        if (filter->StillPin() != nullptr) {
            Branch(*filter->StillPin(), still);
        }
    }

    void Branch(media::Pin& pin, test::RecordingCallback& callback) {
        auto grabber = std::make_shared<media::SampleGrabber>();
        auto null = std::make_shared<media::NullRenderer>();
        ASSERT_EQ(grabber->SetCallback(&callback, media::SampleGrabber::kModeBufferCB), kOk);
        ASSERT_TRUE(Succeeded(graph->AddFilter(grabber, QString())));
        ASSERT_TRUE(Succeeded(graph->AddFilter(null, QString())));
        ASSERT_EQ(graph->Connect(pin, *grabber->GetPin(0)), kOk);
        ASSERT_EQ(graph->Connect(*grabber->GetPin(1), *null->GetPin(0)), kOk);
    }

    Status Trigger() {
        return filter->GetVideoControl()->SetMode(*filter->StillPin(),
                                                  media::kVideoControlFlagTrigger);
    }

    // The log without the frame-by-frame interval requests.
    Lines StreamLog() { return io->Log(); }

    std::shared_ptr<test::ScriptedV4l2Io> io;
    V4l2StreamTiming timing;
    std::shared_ptr<V4l2SourceFilter> filter;
    std::unique_ptr<media::FilterGraph> graph;
    test::RecordingCallback preview;
    test::RecordingCallback still;
};

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
    ASSERT_EQ(graph->Stop(), kOk);
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
    ASSERT_EQ(graph->Stop(), kOk);
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
    ASSERT_EQ(graph->Stop(), kOk);
    EXPECT_EQ(StreamLog(), (Lines{"STREAMOFF", "REQBUFS 0"}));
    EXPECT_EQ(io->MappedBuffers(), 0);
    const int atStop = preview.Count();
    EXPECT_FALSE(preview.InCall());
    EXPECT_EQ(preview.Count(), atStop);
    graph.reset();
    filter.reset();
    EXPECT_EQ(io->OpenDescriptors(), 0);
}

TEST_F(SourceFilterFixture, StillTriggerSwitchesTheStreamTakesOneFrameAndSwitchesBack) {
    Plug();
    filter = Bind();
    ASSERT_TRUE(SetFormat(*filter->CapturePin(), V4L2_PIX_FMT_MJPEG, 640, 480));
    ASSERT_TRUE(SetFormat(*filter->StillPin(), V4L2_PIX_FMT_MJPEG, 2592, 1944));
    Build();
    ASSERT_EQ(graph->Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= 1; }));
    io->ClearLog();
    ASSERT_EQ(Trigger(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return still.Count() >= 1; }));
    const int previewAtStill = preview.Count();
    // The preview resumes by itself.
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= previewAtStill + 1; }));
    ASSERT_EQ(graph->Stop(), kOk);

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
    filter = Bind();
    ASSERT_TRUE(SetFormat(*filter->CapturePin(), V4L2_PIX_FMT_MJPEG, 640, 480));
    ASSERT_TRUE(SetFormat(*filter->StillPin(), V4L2_PIX_FMT_MJPEG, 640, 480));
    Build();
    ASSERT_EQ(graph->Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() >= 1; }));
    io->ClearLog();
    ASSERT_EQ(Trigger(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return still.Count() >= 1; }));
    ASSERT_EQ(graph->Stop(), kOk);
    EXPECT_EQ(StreamLog(), (Lines{"STREAMOFF", "REQBUFS 0"}));  // the stop only
    EXPECT_EQ(IdOf(still.Sample(0)).width, 640u);
}

TEST_F(SourceFilterFixture, EveryTriggerGivesOneStill) {
    Plug();
    filter = Bind();
    ASSERT_TRUE(SetFormat(*filter->StillPin(), V4L2_PIX_FMT_MJPEG, 3000, 3000));
    Build();
    ASSERT_EQ(graph->Run(), kOk);
    ASSERT_EQ(Trigger(), kOk);
    ASSERT_EQ(Trigger(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return still.Count() >= 2; }));
    ASSERT_EQ(Trigger(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return still.Count() >= 3; }));
    const int previewAfter = preview.Count();
    ASSERT_TRUE(test::WaitUntil([&] { return preview.Count() > previewAfter; }));
    ASSERT_EQ(graph->Stop(), kOk);
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
    filter = Bind();
    ASSERT_TRUE(SetFormat(*filter->StillPin(), V4L2_PIX_FMT_MJPEG, 2592, 1944));
    Build();
    ASSERT_EQ(graph->Run(), kOk);
    ASSERT_EQ(Trigger(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return still.Count() >= 1; }));
    ASSERT_EQ(graph->Stop(), kOk);
    const FrameId taken = IdOf(still.Sample(0));
    EXPECT_EQ(taken.width, 2592u);
    EXPECT_EQ(taken.number % 3, 0u);
}

TEST_F(SourceFilterFixture, StillThatNeverComesIsGivenUpAndThePreviewResumes) {
    timing.stillTimeoutMs = 150;
    Plug();
    filter = Bind();
    ASSERT_TRUE(SetFormat(*filter->StillPin(), V4L2_PIX_FMT_MJPEG, 2592, 1944));
    Build();
    ASSERT_EQ(graph->Run(), kOk);
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
    ASSERT_EQ(graph->Stop(), kOk);
    EXPECT_EQ(still.Count(), 0);
    EXPECT_FALSE(filter->StreamLost());
}

TEST_F(SourceFilterFixture, StillFormatTheDeviceRefusesLeavesThePreviewRunning) {
    Plug();
    filter = Bind();
    ASSERT_TRUE(SetFormat(*filter->StillPin(), V4L2_PIX_FMT_MJPEG, 3000, 3000));
    Build();
    ASSERT_EQ(graph->Run(), kOk);
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
    ASSERT_EQ(graph->Stop(), kOk);
    EXPECT_EQ(still.Count(), 1);
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
    ASSERT_EQ(graph->Stop(), kOk);
    EXPECT_EQ(second->Run(), kOk);
    EXPECT_EQ(second->Stop(), kOk);
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
    ASSERT_EQ(graph->Stop(), kOk);
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
    ASSERT_EQ(graph->Stop(), kOk);
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
    ASSERT_EQ(graph->Stop(), kOk);
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
    ASSERT_EQ(graph->Stop(), kOk);
    EXPECT_EQ(io->MappedBuffers(), 0);
    EXPECT_EQ(still.Count(), 0);
    EXPECT_EQ(graph->Run(), devices::kDeviceNotConnected);
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
