// The real-device backend against the real uvcvideo driver: run inside the uvcbench VM
// (../shared/uvcbench/run -- v4l2_bench_test), where a virtual film scanner (or, with other USB
// ids and no extension unit, a webcam) is plugged in. Outside the VM every test skips.
// ZV_BENCH_DEVICE tells what the VM presents: "scanner" (the default), "webcam" (other ids, no
// extension unit, MJPEG and YUYV, no camera terminal controls) or "stalled-xu" (the scanner
// whose identification reply stalls). Discovery uses the device layer's FindScanner, so this
// program checks the whole road from the driver to the identification exchange.

#include "device/find_scanner.h"
#include "platform/devices/camera_control.h"
#include "platform/devices/filter_interfaces.h"
#include "platform/devices/ks_control.h"
#include "platform/devices/ks_property.h"
#include "platform/devices/ks_topology_info.h"
#include "platform/devices/property_control.h"
#include "platform/devices/scanner_contract.h"
#include "platform/devices/video_proc_amp.h"
#include "platform/media/media_guids.h"
#include "platform/media/video_control.h"
#include "platform/v4l2/udev_monitor_source.h"
#include "platform/v4l2_bench_support.h"
#include "support/wait.h"

#include <QFile>

#include <array>
#include <cerrno>
#include <gtest/gtest.h>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace zv::v4l2 {
namespace {

using namespace std::chrono_literals;
using namespace test;

TEST(V4l2Bench, ListsOnlyTheCaptureNodeWithItsUsbIdentity) {
    REQUIRE_BENCH();
    V4l2DeviceBackend backend;
    const std::vector<V4l2NodeInfo> nodes = backend.CaptureNodes();
    // The gadget's output node and the metadata node are not capture nodes.
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].devnode, DeviceNode());
    ASSERT_TRUE(nodes[0].usb);
    const BoundDevice device = BindBenchNode(backend);
    const char* ids =
        Presents("webcam") ? "v4l2#vid_046d&pid_0825&mi_00#" : "v4l2#vid_8888&pid_0001&mi_00#";
    EXPECT_TRUE(device.path.startsWith(QLatin1String(ids))) << device.path.toStdString();
    EXPECT_TRUE(
        device.path.endsWith(QString::fromStdString("#" + nodes[0].portPath + "#" + DeviceNode())));
}

TEST(V4l2Bench, DiscoveryFindsTheScannerAndNothingElse) {
    REQUIRE_BENCH();
    V4l2DeviceBackend backend;
    QString path;
    std::shared_ptr<media::Filter> filter;
    const bool found = FindScanner(backend, std::nullopt, &path, &filter);
    if (!Presents("scanner")) {
        EXPECT_FALSE(found);
        EXPECT_EQ(filter, nullptr);
        return;
    }
    ASSERT_TRUE(found);
    EXPECT_TRUE(path.contains(QLatin1String("vid_8888&pid_0001")));
    EXPECT_TRUE(path.endsWith(QString::fromStdString(DeviceNode())));
    // Named by its path (as an arrival names it), in another case.
    std::shared_ptr<media::Filter> again;
    EXPECT_TRUE(FindScanner(backend, path.toUpper(), nullptr, &again));
}

TEST(V4l2Bench, ExtensionUnitAnswersThroughTheDriver) {
    REQUIRE_BENCH();
    if (Presents("webcam")) {
        GTEST_SKIP() << "the webcam has no extension unit";
    }
    V4l2DeviceBackend backend;
    const BoundDevice device = BindBenchNode(backend);
    ASSERT_NE(device.filter, nullptr);
    std::shared_ptr<devices::KsTopologyInfo> topology;
    std::shared_ptr<devices::KsControl> control;
    ASSERT_EQ(devices::QueryKsTopologyInfo(device.filter, &topology), kOk);
    ASSERT_EQ(devices::QueryKsControl(device.filter, &control), kOk);
    std::uint32_t count = 0;
    ASSERT_EQ(topology->GetNumNodes(&count), kOk);
    ASSERT_EQ(count, 3u);  // camera terminal, processing unit, extension unit
    Guid type;
    ASSERT_EQ(topology->GetNodeType(2, &type), kOk);
    EXPECT_EQ(type, devices::kKsNodeTypeDevSpecific);

    std::uint32_t returned = 0;
    std::array<std::uint8_t, 64> info{};
    EXPECT_EQ(control->KsProperty(XuRequest(0, devices::kKsTopologySetSupport, 2), {}, &returned),
              kOk);
    EXPECT_EQ(control->KsProperty(XuRequest(0, devices::kKsTopologySetSupport, 1), {}, &returned),
              devices::kSetNotFound);
    ASSERT_EQ(control->KsProperty(XuRequest(0, devices::kKsTopologyGet, 2), info, &returned), kOk);
    ASSERT_EQ(returned, 23u);  // the 27-byte descriptor from its GUID on
    EXPECT_EQ(info[16], 2);    // two controls
    EXPECT_EQ(info[19], 2);    // two bitmap bytes: 00 06, selectors 10 and 11
    EXPECT_EQ(info[20], 0x00);
    EXPECT_EQ(info[21], 0x06);

    std::array<std::uint8_t, 4> access{};
    ASSERT_EQ(
        control->KsProperty(XuRequest(10, devices::kKsTopologyBasicSupport, 2), access, &returned),
        kOk);
    EXPECT_EQ(access[0], devices::kKsPropertyTypeGet | devices::kKsPropertyTypeSet);
    ASSERT_EQ(
        control->KsProperty(XuRequest(11, devices::kKsTopologyBasicSupport, 2), access, &returned),
        kOk);
    EXPECT_EQ(access[0], devices::kKsPropertyTypeGet);
    EXPECT_EQ(control->KsProperty(XuRequest(11, devices::kKsTopologyGet, 2), {}, &returned),
              kMoreData);
    EXPECT_EQ(returned, 8u);

    std::array<std::uint8_t, 8> command = contract::kIdentifyCommand;
    ASSERT_EQ(control->KsProperty(XuRequest(10, devices::kKsTopologySet, 2), command, &returned),
              kOk);
    std::array<std::uint8_t, 8> reply{};
    const Status read =
        control->KsProperty(XuRequest(11, devices::kKsTopologyGet, 2), reply, &returned);
    if (Presents("stalled-xu")) {
        EXPECT_EQ(read, kNotReady);  // the driver's EBUSY
        return;
    }
    ASSERT_EQ(read, kOk);
    EXPECT_EQ(reply, contract::kIdentifyReply);
    // The driver itself refuses writing a read-only selector.
    EXPECT_EQ(control->KsProperty(XuRequest(11, devices::kKsTopologySet, 2), reply, &returned),
              StatusFromErrno(EBADRQC));
}

struct RangeCase {
    bool video;
    int property;
    std::int32_t minimum, maximum, step, defaultValue;
    std::int32_t written;
};

TEST(V4l2Bench, PicturePropertiesRoundTripThroughControls) {
    REQUIRE_BENCH();
    V4l2DeviceBackend backend;
    const BoundDevice device = BindBenchNode(backend);
    ASSERT_NE(device.filter, nullptr);
    std::shared_ptr<devices::VideoProcAmp> video;
    std::shared_ptr<devices::CameraControl> camera;
    ASSERT_EQ(devices::QueryVideoProcAmp(device.filter, &video), kOk);
    ASSERT_EQ(devices::QueryCameraControl(device.filter, &camera), kOk);

    std::vector<RangeCase> cases = {
        {true, devices::kVideoProcAmpBrightness, -64, 64, 1, 0, -17},
        {true, devices::kVideoProcAmpContrast, 0, 100, 1, 50, 80},
        {true, devices::kVideoProcAmpSaturation, 0, 100, 1, 50, 20},
        {true, devices::kVideoProcAmpGamma, 100, 500, 1, 220, 300},
    };
    if (!Presents("webcam")) {
        // The red and blue levels: 0 to 255 degrees, 0:918000:3600:460800 in arc-seconds.
        cases.push_back({false, devices::kCameraControlPan, 0, 255, 1, 128, 200});
        cases.push_back({false, devices::kCameraControlTilt, 0, 255, 1, 128, 17});
        cases.push_back({false, devices::kCameraControlZoom, 100, 400, 1, 100, 250});
    }
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.video ? "video " : "camera ") << c.property);
        devices::PropertyControl& properties =
            c.video ? static_cast<devices::PropertyControl&>(*video) : *camera;
        std::int32_t minimum = 0, maximum = 0, step = 0, defaultValue = 0, caps = 0;
        ASSERT_EQ(properties.GetRange(c.property, &minimum, &maximum, &step, &defaultValue, &caps),
                  kOk);
        EXPECT_EQ(minimum, c.minimum);
        EXPECT_EQ(maximum, c.maximum);
        EXPECT_EQ(step, c.step);
        EXPECT_EQ(defaultValue, c.defaultValue);
        EXPECT_EQ(caps, devices::kPropertyFlagsManual);
        ASSERT_EQ(properties.Set(c.property, c.written, devices::kPropertyFlagsManual), kOk);
        std::int32_t value = 0, flags = 0;
        ASSERT_EQ(properties.Get(c.property, &value, &flags), kOk);
        EXPECT_EQ(value, c.written);
        EXPECT_EQ(flags, devices::kPropertyFlagsManual);
        EXPECT_EQ(properties.Set(c.property, c.maximum + 1, devices::kPropertyFlagsManual),
                  kInvalidArg);
    }
    std::int32_t value = 0, flags = 0;
    // uvcvideo maps no control to the camera terminal's roll: it is read and written through
    // the USB device, where the camera terminal declares it.
    std::int32_t minimum = 0, maximum = 0, step = 0, defaultValue = 0, caps = 0;
    const Status roll = camera->GetRange(devices::kCameraControlRoll, &minimum, &maximum, &step,
                                         &defaultValue, &caps);
    if (Presents("webcam")) {
        EXPECT_EQ(roll, kNotFound);
    } else {
        ASSERT_EQ(roll, kOk);
        EXPECT_EQ(std::vector<std::int32_t>({minimum, maximum, step, defaultValue}),
                  std::vector<std::int32_t>({-180, 180, 1, 0}));
        std::int32_t held = 0;
        EXPECT_EQ(camera->SetAndRead(devices::kCameraControlRoll, 1, 0, &held), kOk);
        EXPECT_EQ(held, 1);
        EXPECT_EQ(Source(device).Node().devnode, DeviceNode());
        QFile log(QString::fromLocal8Bit(std::getenv("UVCBENCH_FWLOG")));
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        EXPECT_TRUE(log.readAll().contains("data CT 15: 01 00"));
    }
    // Not among the scanner's processing unit controls.
    EXPECT_EQ(video->Get(devices::kVideoProcAmpHue, &value, &flags), kNotFound);
    if (Presents("webcam")) {
        EXPECT_EQ(camera->Get(devices::kCameraControlPan, &value, &flags), kNotFound);
    }
}

TEST(V4l2Bench, PreviewDeliversTheScannersFramesWhole) {
    REQUIRE_BENCH();
    V4l2DeviceBackend backend;
    const BoundDevice device = BindBenchNode(backend);
    ASSERT_NE(device.filter, nullptr);
    ASSERT_TRUE(SetFormat(*Source(device).CapturePin(), media::kSubtypeMjpg, 1280, 960));
    BenchGraph bench(device.filter);
    ASSERT_EQ(bench.graph.Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return bench.preview.Count() >= 5; }, 20s));
    bench.graph.Stop();
    const QByteArray expected = ScannerFrame(1280, 960);
    ASSERT_FALSE(expected.isEmpty());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(bench.preview.Sample(i), expected) << "frame " << i;
    }
    EXPECT_EQ(bench.still.Count(), 0);
    EXPECT_FALSE(Source(device).StreamLost());
}

TEST(V4l2Bench, YuyvPreviewFramesHaveTheirFullSize) {
    REQUIRE_BENCH();
    if (!Presents("webcam")) {
        GTEST_SKIP() << "the scanner streams MJPEG only";
    }
    V4l2DeviceBackend backend;
    const BoundDevice device = BindBenchNode(backend);
    ASSERT_NE(device.filter, nullptr);
    ASSERT_TRUE(SetFormat(*Source(device).CapturePin(), media::kSubtypeYuy2, 640, 480));
    BenchGraph bench(device.filter);
    ASSERT_EQ(bench.graph.Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return bench.preview.Count() >= 3; }, 20s));
    bench.graph.Stop();
    EXPECT_EQ(bench.preview.Sample(0).size(), 640 * 480 * 2);
}

TEST(V4l2Bench, StillTriggerDeliversOneFullSizeJpegAndThePreviewResumes) {
    REQUIRE_BENCH();
    V4l2DeviceBackend backend;
    const BoundDevice device = BindBenchNode(backend);
    ASSERT_NE(device.filter, nullptr);
    V4l2SourceFilter& source = Source(device);
    ASSERT_NE(source.StillPin(), nullptr);
    ASSERT_TRUE(SetFormat(*source.CapturePin(), media::kSubtypeMjpg, 640, 480));
    ASSERT_TRUE(SetFormat(*source.StillPin(), media::kSubtypeMjpg, 2592, 1944));
    BenchGraph bench(device.filter);
    ASSERT_EQ(bench.graph.Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return bench.preview.Count() >= 3; }, 20s));

    ASSERT_EQ(
        source.GetVideoControl()->SetMode(*source.StillPin(), media::kVideoControlFlagTrigger),
        kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return bench.still.Count() >= 1; }, 20s));
    const int previewAtStill = bench.preview.Count();
    ASSERT_TRUE(test::WaitUntil([&] { return bench.preview.Count() >= previewAtStill + 3; }, 20s));
    bench.graph.Stop();

    EXPECT_EQ(bench.still.Count(), 1);
    EXPECT_EQ(bench.still.Sample(0), ScannerFrame(2592, 1944));
    EXPECT_EQ(bench.preview.Sample(bench.preview.Count() - 1), ScannerFrame(640, 480));
    EXPECT_FALSE(source.StreamLost());
}

TEST(V4l2Bench, SecondUserOfTheDeviceFailsAsLocked) {
    REQUIRE_BENCH();
    V4l2DeviceBackend backend;
    const BoundDevice first = BindBenchNode(backend);
    const BoundDevice second = BindBenchNode(backend);
    ASSERT_NE(first.filter, nullptr);
    ASSERT_NE(second.filter, nullptr);
    BenchGraph holder(first.filter);
    ASSERT_EQ(holder.graph.Run(), kOk);
    BenchGraph latecomer(second.filter);
    EXPECT_EQ(latecomer.graph.Run(), kSharingViolation);
    holder.graph.Stop();
    EXPECT_EQ(latecomer.graph.Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return latecomer.preview.Count() >= 1; }, 20s));
}

TEST(V4l2Bench, HotplugEventsComeFromUdevOrElseFromTheKernel) {
    REQUIRE_BENCH();
    // ZV_BENCH_UDEV=none: the VM runs without its udev stand-in.
    const char* udev = std::getenv("ZV_BENCH_UDEV");
    const bool daemon = udev == nullptr || std::string(udev) != "none";
    const std::unique_ptr<UdevMonitorSource> source = UdevMonitorSource::Create();
    ASSERT_NE(source, nullptr);
    EXPECT_GE(source->Fd(), 0);
    EXPECT_EQ(source->KernelEvents(), !daemon);
}

// Last: it unplugs the device the other tests use.
TEST(V4l2Bench, UnplugAndReplugAreAnnouncedForTheSamePath) {
    REQUIRE_BENCH();
    V4l2DeviceBackend backend;
    BoundDevice device = BindBenchNode(backend);
    ASSERT_NE(device.filter, nullptr);
    std::unique_ptr<devices::DeviceNotifier> notifier =
        backend.RegisterDeviceNotification(contract::kCaptureInterfaceCategory);
    ASSERT_TRUE(static_cast<V4l2DeviceNotifier&>(*notifier).Listening());
    std::vector<devices::DeviceChangeEvent> events;
    QObject::connect(notifier.get(), &devices::DeviceNotifier::deviceChange,
                     [&](const devices::DeviceChangeEvent& event) { events.push_back(event); });

    // Unplugged in the middle of a stream.
    auto bench = std::make_unique<BenchGraph>(device.filter);
    ASSERT_EQ(bench->graph.Run(), kOk);
    ASSERT_TRUE(test::WaitUntil([&] { return bench->preview.Count() >= 2; }, 20s));
    ASSERT_TRUE(Plug("off"));
    ASSERT_TRUE(test::WaitUntil([&] { return !events.empty(); }, 20s));
    EXPECT_EQ(events[0].eventCode, devices::kDeviceRemoveComplete);
    EXPECT_EQ(events[0].deviceType, devices::kDeviceTypeInterface);
    EXPECT_EQ(events[0].classGuid, contract::kCaptureInterfaceCategory);
    EXPECT_EQ(events[0].name, device.path);
    EXPECT_TRUE(test::WaitUntil([&] { return Source(device).StreamLost(); }, 10s));
    bench->graph.Stop();
    EXPECT_EQ(bench->graph.Run(), devices::kDeviceNotConnected);
    // As the window does on removal: stop and let go of the device, closing its node, so the
    // kernel can give the node's name to the device when it comes back.
    bench->graph.Stop();
    bench.reset();
    device.filter.reset();

    ASSERT_TRUE(Plug("on"));
    ASSERT_TRUE(test::WaitUntil([&] { return events.size() >= 2; }, 20s));
    EXPECT_EQ(events[1].eventCode, devices::kDeviceArrival);
    // The same port and the same node: the same path.
    EXPECT_EQ(events[1].name, device.path);
    EXPECT_EQ(events.size(), 2u);
    if (Presents("scanner")) {
        std::shared_ptr<media::Filter> filter;
        EXPECT_TRUE(FindScanner(backend, events[1].name, nullptr, &filter));
    }
}

}  // namespace
}  // namespace zv::v4l2
