// The film type (camera terminal roll) written through the USB device while the video driver
// holds the scanner: a device filter on a scripted driver (v4l2_scripted_io) and a scripted USB
// side (scripted_usb_io), whose driver detach and attach make the capture node go and come back
// as the test says.

#include "platform/devices/camera_control.h"
#include "platform/devices/ks_property.h"
#include "platform/devices/property_control.h"
#include "platform/listed_nodes.h"
#include "platform/scanner_node_info.h"
#include "platform/scripted_usb_io.h"
#include "platform/v4l2/v4l2_device_watch.h"
#include "platform/v4l2/v4l2_source_filter.h"
#include "platform/v4l2_descriptor_blobs.h"
#include "platform/v4l2_scripted_io.h"
#include "support/wait.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>

namespace zv::v4l2 {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

constexpr char kNode[] = "/dev/video1";
constexpr const char* kUsbDevice = test::kScannerUsbDevice;

V4l2NodeInfo Info(const std::string& devnode) {
    return test::ScannerNodeInfo(devnode);
}

Lines Concat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const Lines kReadRange = {"open 1/4", "detach 0", "claim 0",   "GET_MIN",  "GET_MAX", "GET_RES",
                          "GET_DEF",  "GET_CUR",  "release 0", "attach 0", "close"};
const Lines kWriteOne = {"open 1/4", "detach 0",  "claim 0",  "SET_CUR 1",
                         "GET_CUR",  "release 0", "attach 0", "close"};
const Lines kRefused = {"open 1/4"};
const Lines kLeftAlone = {"open 1/4", "close"};

struct RollCase {
    const char* name;
    bool previewRuns = false;
    // The USB device node's permission, another program's stream.
    int openErrno = 0;
    bool otherProgramStreams = false;
    // The node's name after each driver attach; empty: it never comes back.
    std::vector<std::string> backAs = {kNode, kNode};

    // What the range read (a connection) and the write of roll 1 answer, and the USB side saw.
    Status rangeStatus = kOk;
    Status writeStatus = kOk;
    Lines usbLog;
    // The node the filter holds afterwards, and whether the watch heard of a node taken away
    // and brought back (per exchange) or of a device gone.
    std::string nodeAfter = kNode;
    int reattaches = 2;
    bool lost = false;
    // The reason given for an unsupported film type names the node and the udev rule.
    bool namesTheRule = false;
};

void PrintTo(const RollCase& c, std::ostream* out) {
    *out << c.name;
}

class UsbRollTest : public testing::TestWithParam<RollCase> {
protected:
    UsbRollTest() {
        test::ScriptedNode node;
        node.devnode = kNode;
        node.formats = {{V4L2_PIX_FMT_MJPEG, {{640, 480}, {2592, 1944}}, {{1, 30}}}};
        io->AddNode(node);
        io->SetFile(std::string(kUsbDevice) + "/descriptors",
                    {test::kScannerDescriptors.begin(), test::kScannerDescriptors.end()});
        io->SetFile(std::string(kUsbDevice) + "/busnum", {'1', '\n'});
        io->SetFile(std::string(kUsbDevice) + "/devnum", {'4', '\n'});
        io->SetExists(Info(kNode).syspath, true);
        nodes->nodes = {Info(kNode)};
        usb->onDetach = [this] { Vanish(); };
        usb->onAttach = [this] { ComeBack(); };
        QObject::connect(watch.get(), &V4l2DeviceWatch::reattached,
                         [this](const V4l2Reattach& r) { reattached.push_back(r); });
        QObject::connect(watch.get(), &V4l2DeviceWatch::streamLost,
                         [this](const QString& path, const QString&) { lost.push_back(path); });
    }
    ~UsbRollTest() override {
        if (filter != nullptr) {
            filter->Stop();
        }
    }

    void Vanish() {
        io->ChangeNode(m_present, [](test::ScriptedNode& node) { node.openErrno = ENOENT; });
        nodes->nodes.clear();
    }

    void ComeBack() {
        const std::string name = m_attaches < m_backAs.size() ? m_backAs[m_attaches] : "";
        ++m_attaches;
        if (name.empty()) {
            return;
        }
        io->ChangeNode(m_present, [&](test::ScriptedNode& node) {
            node.devnode = name;
            node.openErrno = 0;
        });
        m_present = name;
        nodes->nodes = {Info(name)};
    }

    void Bind(const RollCase& c) {
        m_backAs = c.backAs;
        usb->openErrno = c.openErrno;
        V4l2UsbAccess access{usb, nodes, watch, {300, 5, 100}};
        ASSERT_EQ(V4l2SourceFilter::Create(io, Info(kNode), {}, &filter, access), kOk);
        camera = filter->GetCameraControl();
    }

    std::shared_ptr<test::ScriptedV4l2Io> io = std::make_shared<test::ScriptedV4l2Io>();
    std::shared_ptr<test::ScriptedUsbIo> usb = std::make_shared<test::ScriptedUsbIo>();
    std::shared_ptr<test::ListedNodes> nodes = std::make_shared<test::ListedNodes>();
    std::shared_ptr<V4l2DeviceWatch> watch = std::make_shared<V4l2DeviceWatch>();
    std::shared_ptr<V4l2SourceFilter> filter;
    devices::CameraControl* camera = nullptr;
    std::vector<V4l2Reattach> reattached;
    std::vector<QString> lost;

private:
    std::string m_present = kNode;
    std::vector<std::string> m_backAs;
    std::size_t m_attaches = 0;
};

TEST_P(UsbRollTest, AsAConnectionReadsAndAFilmTypeWrites) {
    const RollCase& c = GetParam();
    Bind(c);
    if (c.otherProgramStreams) {
        io->ChangeNode(kNode, [](test::ScriptedNode& node) { node.busy = true; });
    }
    if (c.previewRuns) {
        ASSERT_EQ(filter->Run(), kOk);
        ASSERT_TRUE(test::WaitUntil([&] { return io->FramesDelivered() >= 2; }));
    }
    std::int32_t minimum = 0, maximum = 0, step = 0, defaultValue = 0, caps = 0;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(camera->GetRange(devices::kCameraControlRoll, &minimum, &maximum, &step,
                               &defaultValue, &caps),
              c.rangeStatus);
    std::int32_t held = -1;
    EXPECT_EQ(camera->SetAndRead(devices::kCameraControlRoll, 1, 0, &held), c.writeStatus);
    // Bounded even when the node never comes back (a wait of 300 ms per exchange here).
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);

    EXPECT_EQ(usb->Log(), c.usbLog);
    EXPECT_EQ(usb->OpenHandles(), 0);
    EXPECT_TRUE(usb->DriverBound());
    if (c.rangeStatus == kOk) {
        EXPECT_EQ(std::vector<std::int32_t>({minimum, maximum, step, defaultValue}),
                  std::vector<std::int32_t>({-180, 180, 1, 0}));
    }
    if (c.writeStatus == kOk) {
        EXPECT_EQ(held, 1);
        std::int32_t value = -1, flags = 0;
        EXPECT_EQ(camera->Get(devices::kCameraControlRoll, &value, &flags), kOk);
        EXPECT_EQ(value, 1);
    }
    EXPECT_EQ(filter->Node().devnode, c.nodeAfter);
    EXPECT_EQ(static_cast<int>(reattached.size()), c.reattaches);
    if (!reattached.empty()) {
        EXPECT_EQ(reattached.back().newSyspath, Info(c.nodeAfter).syspath);
        EXPECT_EQ(reattached.back().devicePath.toStdString(),
                  "v4l2#vid_8888&pid_0001&mi_00#1-1#/dev/video1");
    }
    EXPECT_EQ(test::WaitUntil([&] { return !lost.empty(); }, c.lost ? 5s : 50ms), c.lost);

    const QString reason = camera->UnavailableReason(devices::kCameraControlRoll);
    EXPECT_EQ(reason.contains(QLatin1String("/dev/bus/usb/001/004")) &&
                  reason.contains(QLatin1String("70-zevuvora-scanner.rules")),
              c.namesTheRule)
        << reason.toStdString();
    if (c.previewRuns && c.writeStatus == kOk) {
        // The preview resumes by itself on the node as it is now.
        const int before = io->FramesDelivered();
        EXPECT_TRUE(test::WaitUntil([&] { return io->FramesDelivered() >= before + 2; }));
        EXPECT_FALSE(filter->StreamLost());
    }
    const Lines log = io->Log();
    const auto release = std::find_if(log.begin(), log.end(), [](const std::string& line) {
        return line.starts_with("RELEASE ");
    });
    const bool detached = std::count(c.usbLog.begin(), c.usbLog.end(), "detach 0") > 0;
    EXPECT_EQ(release != log.end(), detached);
    if (detached && c.previewRuns) {
        // The stream and its buffers were gone before the node was let go.
        EXPECT_NE(std::find(log.begin(), release, "STREAMOFF"), release);
        EXPECT_EQ(io->MappedBuffers() > 0, c.writeStatus == kOk);
    }
    if (!detached) {
        // Left as it was: the preview never stopped, the node never reopened.
        EXPECT_EQ(std::count(log.begin(), log.end(), "STREAMOFF"), 0);
        EXPECT_EQ(io->OpenAttempts(kNode), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, UsbRollTest,
                         testing::Values(RollCase{.name = "WrittenOnABoundDevice",
                                                  .usbLog = Concat({kReadRange, kWriteOne})},
                                         RollCase{.name = "WrittenWhileThePreviewRuns",
                                                  .previewRuns = true,
                                                  .usbLog = Concat({kReadRange, kWriteOne})},
                                         RollCase{.name = "BusyDeviceIsNeverTakenFromItsDriver",
                                                  .otherProgramStreams = true,
                                                  .rangeStatus = kSharingViolation,
                                                  .writeStatus = kSharingViolation,
                                                  .usbLog = Concat({kLeftAlone, kLeftAlone}),
                                                  .reattaches = 0},
                                         RollCase{.name = "NoPermissionLeavesEverythingAlone",
                                                  .previewRuns = true,
                                                  .openErrno = EACCES,
                                                  .rangeStatus = StatusFromErrno(EACCES),
                                                  .writeStatus = StatusFromErrno(EACCES),
                                                  .usbLog = Concat({kRefused, kRefused}),
                                                  .reattaches = 0,
                                                  .namesTheRule = true},
                                         RollCase{.name = "NodeBackUnderAnotherName",
                                                  .previewRuns = true,
                                                  .backAs = {kNode, "/dev/video3"},
                                                  .usbLog = Concat({kReadRange, kWriteOne}),
                                                  .nodeAfter = "/dev/video3"},
                                         RollCase{.name = "NodeNeverBack",
                                                  .previewRuns = true,
                                                  .backAs = {kNode, ""},
                                                  .writeStatus = devices::kDeviceNotConnected,
                                                  .usbLog = Concat({kReadRange, kWriteOne}),
                                                  .reattaches = 1,
                                                  .lost = true}),
                         [](const testing::TestParamInfo<RollCase>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
}  // namespace zv::v4l2
