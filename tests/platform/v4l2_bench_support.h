#pragma once

// What the bench tests share: where the VM says the device is, what it presents, and a graph
// that records what the device's pins deliver.

#include "platform/devices/ks_property.h"
#include "platform/grabber_branch.h"
#include "platform/media/filter_graph.h"
#include "platform/recording_callback.h"
#include "platform/v4l2/v4l2_device_backend.h"
#include "platform/v4l2/v4l2_source_filter.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#define REQUIRE_BENCH()                                                                     \
    if (std::getenv("UVCBENCH") == nullptr) {                                               \
        GTEST_SKIP() << "needs the uvcbench VM: ../shared/uvcbench/run -- v4l2_bench_test"; \
    }

namespace zv::test {

// What the VM presents: ZV_BENCH_DEVICE, "scanner" when unset.
QString BenchDevice();
bool Presents(const char* device);
// The capture node the VM's device has.
std::string DeviceNode();
// The frame the virtual scanner sends at this size.
QByteArray ScannerFrame(int width, int height);
// The bench's plug helper: "off" or "on", returning once the node is gone or there.
bool Plug(const char* state);

struct BoundDevice {
    QString path;
    std::shared_ptr<media::Filter> filter;
};

// The device list's entry for the bench's capture node, bound.
BoundDevice BindBenchNode(v4l2::V4l2DeviceBackend& backend);
v4l2::V4l2SourceFilter& Source(const BoundDevice& device);
// The capture pin's or the still pin's type of this subtype and size.
bool SetFormat(media::Pin& pin, const Guid& subtype, int width, int height);
devices::KsNodeProperty XuRequest(std::uint32_t id, std::uint32_t flags, std::uint32_t node);

// The source with a sample grabber and a null renderer on each of its pins.
class BenchGraph {
public:
    explicit BenchGraph(std::shared_ptr<media::Filter> source) : m_source(std::move(source)) {
        EXPECT_EQ(graph.AddFilter(m_source, QStringLiteral("Device Source")), kOk);
        auto& filter = static_cast<v4l2::V4l2SourceFilter&>(*m_source);
        AddGrabberBranch(graph, *filter.CapturePin(), preview);
        if (filter.StillPin() != nullptr) {
            AddGrabberBranch(graph, *filter.StillPin(), still);
        }
    }
    ~BenchGraph() { graph.Stop(); }

    media::FilterGraph graph;
    RecordingCallback preview;
    RecordingCallback still;

private:
    std::shared_ptr<media::Filter> m_source;
};

}  // namespace zv::test
