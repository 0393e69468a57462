#pragma once

#include "platform/grabber_branch.h"
#include "platform/media/stream_config.h"
#include "platform/media/video_control.h"
#include "platform/scanner_node_info.h"
#include "platform/v4l2/v4l2_format_enumeration.h"
#include "platform/v4l2/v4l2_source_filter.h"
#include "platform/v4l2_descriptor_blobs.h"
#include "platform/v4l2_scripted_io.h"

#include <QSize>

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zv::test {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

inline constexpr char kNode[] = "/dev/video1";
inline constexpr const char* kUsbDevice = kScannerUsbDevice;

inline ScriptedNode ScannerNode() {
    ScriptedNode node;
    node.devnode = kNode;
    node.card = "Virtual Film Scanner";
    node.formats = {{V4L2_PIX_FMT_MJPEG, {{640, 480}, {2592, 1944}, {3000, 3000}}, {{1, 30}}},
                    {V4L2_PIX_FMT_YUYV, {{320, 240}}, {{1, 30}}}};
    return node;
}

inline v4l2::V4l2NodeInfo ScannerInfo() {
    return ScannerNodeInfo(kNode);
}

// The frame number the scripted device wrote into a default MJPEG frame, its width and height.
struct FrameId {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t number = 0;
};

inline FrameId IdOf(const QByteArray& frame) {
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

inline bool SetFormat(media::Pin& pin, std::uint32_t pixelFormat, std::uint32_t width,
                      std::uint32_t height) {
    return pin.GetStreamConfig()->SetFormat(
               v4l2::MakeFormatType(pixelFormat, width, height, 1, 30)) == kOk;
}

class SourceFilterFixture : public testing::Test {
protected:
    SourceFilterFixture() : io(std::make_shared<ScriptedV4l2Io>()) { timing.stillTimeoutMs = 3000; }
    ~SourceFilterFixture() override {
        if (graph != nullptr) {
            graph->Stop();
        }
    }

    void Plug(ScriptedNode node = ScannerNode()) {
        io->AddNode(std::move(node));
        io->SetFile(std::string(kUsbDevice) + "/descriptors",
                    Bytes(kScannerDescriptors.begin(), kScannerDescriptors.end()));
    }

    std::shared_ptr<v4l2::V4l2SourceFilter> Bind() {
        std::shared_ptr<v4l2::V4l2SourceFilter> bound;
        EXPECT_EQ(v4l2::V4l2SourceFilter::Create(io, ScannerInfo(), timing, &bound), kOk);
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
        AddGrabberBranch(*graph, *filter->CapturePin(), preview);
        if (filter->StillPin() != nullptr) {
            AddGrabberBranch(*graph, *filter->StillPin(), still);
        }
    }

    // Bound, its still format (and, when given, its preview format) set to MJPEG at these sizes,
    // built and running. Plug first.
    void RunWithStill(QSize stillSize, std::optional<QSize> previewSize = std::nullopt) {
        filter = Bind();
        ASSERT_NE(filter, nullptr);
        const auto set = [](media::Pin& pin, QSize size) {
            return SetFormat(pin, V4L2_PIX_FMT_MJPEG, static_cast<std::uint32_t>(size.width()),
                             static_cast<std::uint32_t>(size.height()));
        };
        if (previewSize.has_value()) {
            ASSERT_TRUE(set(*filter->CapturePin(), *previewSize));
        }
        ASSERT_TRUE(set(*filter->StillPin(), stillSize));
        Build();
        ASSERT_EQ(graph->Run(), kOk);
    }

    Status Trigger() {
        return filter->GetVideoControl()->SetMode(*filter->StillPin(),
                                                  media::kVideoControlFlagTrigger);
    }

    // The log without the frame-by-frame interval requests.
    Lines StreamLog() { return io->Log(); }

    std::shared_ptr<ScriptedV4l2Io> io;
    v4l2::V4l2StreamTiming timing;
    std::shared_ptr<v4l2::V4l2SourceFilter> filter;
    std::unique_ptr<media::FilterGraph> graph;
    RecordingCallback preview;
    RecordingCallback still;
};

}  // namespace zv::test
