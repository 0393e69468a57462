#include "platform/v4l2/v4l2_device_backend.h"

#include "platform/devices/device_change_event.h"
#include "platform/devices/device_entry.h"
#include "platform/devices/device_enumerator.h"
#include "platform/devices/ks_property.h"
#include "platform/devices/scanner_contract.h"
#include "platform/listed_nodes.h"
#include "platform/media/filter.h"
#include "platform/v4l2/device_path.h"
#include "platform/v4l2/v4l2_device_notifier.h"
#include "platform/v4l2/v4l2_device_watch.h"
#include "platform/v4l2/v4l2_uevent_source.h"
#include "platform/v4l2_scripted_io.h"
#include "support/wait.h"

#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zv::v4l2 {
namespace {

using namespace std::chrono_literals;

// Hot-plug events handed over through a pipe, so that the notifier's socket notifier sees a
// readable descriptor exactly as with the udev monitor.
class PipeUeventSource : public V4l2UeventSource {
public:
    PipeUeventSource() { EXPECT_EQ(::pipe2(m_pipe, O_NONBLOCK | O_CLOEXEC), 0); }
    ~PipeUeventSource() override {
        ::close(m_pipe[0]);
        ::close(m_pipe[1]);
    }

    void Push(V4l2Uevent event) {
        m_events.push_back(std::move(event));
        const char byte = 1;
        EXPECT_EQ(::write(m_pipe[1], &byte, 1), 1);
    }

    int Fd() const override { return m_pipe[0]; }
    bool Receive(V4l2Uevent* event) override {
        char byte = 0;
        if (::read(m_pipe[0], &byte, 1) != 1 || m_events.empty()) {
            return false;
        }
        *event = std::move(m_events.front());
        m_events.pop_front();
        return true;
    }

private:
    int m_pipe[2] = {-1, -1};
    std::deque<V4l2Uevent> m_events;
};

V4l2NodeInfo Node(const std::string& devnode, std::uint16_t vendor, std::uint16_t product,
                  const std::string& port) {
    V4l2NodeInfo node;
    node.devnode = devnode;
    node.syspath = "/sys/devices/x/usb1/" + port + "/" + port + ":1.0/video4linux/" +
                   devnode.substr(devnode.rfind('/') + 1);
    node.name = "Camera " + devnode;
    node.usb = true;
    node.vendorId = vendor;
    node.productId = product;
    node.portPath = port;
    node.interfaceNumber = 0;
    return node;
}

test::ScriptedNode Scripted(const std::string& devnode,
                            std::uint32_t caps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING) {
    test::ScriptedNode node;
    node.devnode = devnode;
    node.deviceCaps = caps;
    node.formats = {{V4L2_PIX_FMT_MJPEG, {{640, 480}}, {{1, 30}}}};
    return node;
}

class BackendFixture : public testing::Test {
protected:
    BackendFixture()
        : io(std::make_shared<test::ScriptedV4l2Io>()),
          nodes(std::make_shared<test::ListedNodes>()) {}

    // A node listed by udev and present in the scripted device.
    void Add(const V4l2NodeInfo& info, test::ScriptedNode scripted) {
        nodes->nodes.push_back(info);
        io->AddNode(std::move(scripted));
        io->SetExists(info.syspath, true);
    }

    std::unique_ptr<V4l2DeviceBackend> Backend() {
        V4l2BackendParts parts;
        parts.io = io;
        parts.nodes = nodes;
        parts.events = [this]() -> std::unique_ptr<V4l2UeventSource> {
            auto source = std::make_unique<PipeUeventSource>();
            events = source.get();
            return source;
        };
        if (!withEvents) {
            parts.events = nullptr;
        }
        parts.hotplugTiming = hotplug;
        parts.watch = watch;
        return std::make_unique<V4l2DeviceBackend>(std::move(parts));
    }

    std::shared_ptr<test::ScriptedV4l2Io> io;
    std::shared_ptr<test::ListedNodes> nodes;
    std::shared_ptr<V4l2DeviceWatch> watch = std::make_shared<V4l2DeviceWatch>();
    bool withEvents = true;
    PipeUeventSource* events = nullptr;
    // Retries every 5 ms, given up only after 5 s (a bound for a failing test).
    V4l2HotplugTiming hotplug{5, 1000};
};

TEST_F(BackendFixture, ListsCaptureNodesByNodeNumber) {
    Add(Node("/dev/video10", 0x046D, 0x0825, "1-2"), Scripted("/dev/video10"));
    Add(Node("/dev/video0", 0x1234, 0x0001, "1-4"),
        Scripted("/dev/video0", V4L2_CAP_VIDEO_OUTPUT | V4L2_CAP_STREAMING));
    Add(Node("/dev/video3", 0x8888, 0x0001, "1-1"),
        Scripted("/dev/video3", V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING));
    Add(Node("/dev/video2", 0x8888, 0x0001, "1-1"), Scripted("/dev/video2"));
    test::ScriptedNode locked = Scripted("/dev/video4");
    locked.openErrno = EACCES;
    Add(Node("/dev/video4", 0x0001, 0x0002, "1-3"), locked);
    // Listed by udev but gone from /dev.
    nodes->nodes.push_back(Node("/dev/video7", 0x0001, 0x0003, "1-5"));

    const auto backend = Backend();
    std::vector<std::string> listed;
    for (const V4l2NodeInfo& node : backend->CaptureNodes()) {
        listed.push_back(node.devnode);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"/dev/video2", "/dev/video10"}));
    EXPECT_EQ(io->OpenDescriptors(), 0);  // every probe closed its node
}

TEST_F(BackendFixture, DeviceListEntriesReadTheirPathAndBindTheirFilter) {
    Add(Node("/dev/video2", 0x8888, 0x0001, "1-1"), Scripted("/dev/video2"));
    Add(Node("/dev/video4", 0x046D, 0x0825, "1-2"), Scripted("/dev/video4"));
    const auto backend = Backend();
    std::unique_ptr<devices::DeviceEnumerator> list;
    ASSERT_EQ(backend->CreateClassEnumerator(devices::kVideoInputDeviceCategory, &list), kOk);
    const QString expected[] = {QStringLiteral("v4l2#vid_8888&pid_0001&mi_00#1-1#/dev/video2"),
                                QStringLiteral("v4l2#vid_046d&pid_0825&mi_00#1-2#/dev/video4")};
    for (const QString& path : expected) {
        std::unique_ptr<devices::DeviceEntry> entry;
        ASSERT_EQ(list->Next(&entry), kOk);
        QString value;
        ASSERT_EQ(entry->ReadProperty(QString::fromLatin1(devices::kDevicePathProperty), &value),
                  kOk);
        EXPECT_EQ(value, path);
        ASSERT_EQ(entry->ReadProperty(QStringLiteral("FriendlyName"), &value), kOk);
        EXPECT_TRUE(value.startsWith(QLatin1String("Camera /dev/video")));
        EXPECT_EQ(entry->ReadProperty(QStringLiteral("Location"), &value), kNotFound);
        std::shared_ptr<media::Filter> filter;
        ASSERT_EQ(entry->BindFilter(&filter), kOk);
        ASSERT_NE(filter, nullptr);
        EXPECT_NE(filter->GetKsControl(), nullptr);
    }
    std::unique_ptr<devices::DeviceEntry> past;
    EXPECT_EQ(list->Next(&past), kFalse);
    EXPECT_EQ(past, nullptr);
}

TEST_F(BackendFixture, EntryOfAnUnpluggedDeviceFailsAsNotConnected) {
    const V4l2NodeInfo info = Node("/dev/video2", 0x8888, 0x0001, "1-1");
    Add(info, Scripted("/dev/video2"));
    const auto backend = Backend();
    std::unique_ptr<devices::DeviceEnumerator> list;
    ASSERT_EQ(backend->CreateClassEnumerator(devices::kVideoInputDeviceCategory, &list), kOk);
    std::unique_ptr<devices::DeviceEntry> entry;
    ASSERT_EQ(list->Next(&entry), kOk);
    io->SetExists(info.syspath, false);
    QString value = QStringLiteral("untouched");
    EXPECT_EQ(entry->ReadProperty(QString::fromLatin1(devices::kDevicePathProperty), &value),
              devices::kDeviceNotConnected);
    EXPECT_EQ(value, QStringLiteral("untouched"));
    std::shared_ptr<media::Filter> filter;
    EXPECT_EQ(entry->BindFilter(&filter), devices::kDeviceNotConnected);
    EXPECT_EQ(filter, nullptr);
}

TEST_F(BackendFixture, OtherCategoriesAndNoCaptureNodesListNothing) {
    const auto backend = Backend();
    std::unique_ptr<devices::DeviceEnumerator> list;
    EXPECT_EQ(backend->CreateClassEnumerator(devices::kVideoInputDeviceCategory, &list), kFalse);
    EXPECT_EQ(list, nullptr);
    Add(Node("/dev/video2", 0x8888, 0x0001, "1-1"), Scripted("/dev/video2"));
    EXPECT_EQ(backend->CreateClassEnumerator(contract::kCaptureInterfaceCategory, &list), kFalse);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(backend->CreateClassEnumerator(devices::kVideoInputDeviceCategory, nullptr),
              kPointer);
}

class NotifierFixture : public BackendFixture {
protected:
    void Register(const Guid& interfaceClass = contract::kCaptureInterfaceCategory) {
        backend = Backend();
        notifier = backend->RegisterDeviceNotification(interfaceClass);
        QObject::connect(
            notifier.get(), &devices::DeviceNotifier::deviceChange,
            [this](const devices::DeviceChangeEvent& event) { received.push_back(event); });
    }

    V4l2DeviceNotifier& Notifier() { return static_cast<V4l2DeviceNotifier&>(*notifier); }

    static V4l2Uevent Event(V4l2Uevent::Action action, V4l2NodeInfo node) {
        V4l2Uevent event;
        event.action = action;
        event.node = std::move(node);
        return event;
    }

    // What a removal event still tells of a node: its paths, not its USB device.
    static V4l2NodeInfo AsRemoved(const V4l2NodeInfo& node) {
        V4l2NodeInfo removed;
        removed.devnode = node.devnode;
        removed.syspath = node.syspath;
        return removed;
    }

    std::unique_ptr<V4l2DeviceBackend> backend;
    std::unique_ptr<devices::DeviceNotifier> notifier;
    std::vector<devices::DeviceChangeEvent> received;
};

TEST_F(NotifierFixture, ArrivalOfACaptureNodeCarriesItsDevicePath) {
    Register();
    ASSERT_TRUE(Notifier().Listening());
    const V4l2NodeInfo scanner = Node("/dev/video2", 0x8888, 0x0001, "1-1");
    io->AddNode(Scripted("/dev/video2"));
    // The metadata node comes first and is not announced.
    const V4l2NodeInfo metadata = Node("/dev/video3", 0x8888, 0x0001, "1-1");
    io->AddNode(Scripted("/dev/video3", V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING));
    events->Push(Event(V4l2Uevent::Action::kAdd, metadata));
    events->Push(Event(V4l2Uevent::Action::kOther, scanner));
    events->Push(Event(V4l2Uevent::Action::kAdd, scanner));
    ASSERT_TRUE(test::WaitUntil([&] { return !received.empty(); }));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].eventCode, devices::kDeviceArrival);
    EXPECT_EQ(received[0].deviceType, devices::kDeviceTypeInterface);
    EXPECT_EQ(received[0].classGuid, contract::kCaptureInterfaceCategory);
    EXPECT_EQ(received[0].name, BuildDevicePath(scanner));
    EXPECT_EQ(Notifier().PendingCount(), 0);
}

TEST_F(NotifierFixture, RemovalOfAPresentNodeCarriesThePathItHad) {
    const V4l2NodeInfo scanner = Node("/dev/video2", 0x8888, 0x0001, "1-1");
    Add(scanner, Scripted("/dev/video2"));
    Register();
    // Removal of a node never announced, then of the one present at registration.
    events->Push(
        Event(V4l2Uevent::Action::kRemove, AsRemoved(Node("/dev/video3", 0x8888, 0x0001, "1-1"))));
    events->Push(Event(V4l2Uevent::Action::kRemove, AsRemoved(scanner)));
    ASSERT_TRUE(test::WaitUntil([&] { return !received.empty(); }));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].eventCode, devices::kDeviceRemoveComplete);
    EXPECT_EQ(received[0].name, BuildDevicePath(scanner));
}

TEST_F(NotifierFixture, ReplugIsArrivalAfterRemovalForTheSamePath) {
    const V4l2NodeInfo scanner = Node("/dev/video2", 0x8888, 0x0001, "1-1");
    Add(scanner, Scripted("/dev/video2"));
    Register();
    events->Push(Event(V4l2Uevent::Action::kRemove, AsRemoved(scanner)));
    events->Push(Event(V4l2Uevent::Action::kAdd, scanner));
    events->Push(Event(V4l2Uevent::Action::kRemove, AsRemoved(scanner)));
    ASSERT_TRUE(test::WaitUntil([&] { return received.size() >= 3; }));
    EXPECT_EQ(received[0].eventCode, devices::kDeviceRemoveComplete);
    EXPECT_EQ(received[1].eventCode, devices::kDeviceArrival);
    EXPECT_EQ(received[2].eventCode, devices::kDeviceRemoveComplete);
    for (const auto& event : received) {
        EXPECT_EQ(event.name, BuildDevicePath(scanner));
    }
}

TEST_F(NotifierFixture, NodeThatOpensLateIsRetriedAndThenAnnounced) {
    Register();
    const V4l2NodeInfo scanner = Node("/dev/video2", 0x8888, 0x0001, "1-1");
    test::ScriptedNode late = Scripted("/dev/video2");
    late.openErrno = EACCES;  // its access rights are not set up yet
    io->AddNode(late);
    events->Push(Event(V4l2Uevent::Action::kAdd, scanner));
    ASSERT_TRUE(test::WaitUntil([&] { return Notifier().PendingCount() == 1; }));
    EXPECT_TRUE(received.empty());
    io->ChangeNode("/dev/video2", [](test::ScriptedNode& node) { node.openErrno = 0; });
    ASSERT_TRUE(test::WaitUntil([&] { return !received.empty(); }));
    EXPECT_EQ(received[0].eventCode, devices::kDeviceArrival);
    EXPECT_EQ(received[0].name, BuildDevicePath(scanner));
    EXPECT_EQ(Notifier().PendingCount(), 0);
}

TEST_F(NotifierFixture, NodeThatNeverOpensIsGivenUp) {
    hotplug.maxAttempts = 4;
    Register();
    test::ScriptedNode locked = Scripted("/dev/video2");
    locked.openErrno = EACCES;
    io->AddNode(locked);
    events->Push(Event(V4l2Uevent::Action::kAdd, Node("/dev/video2", 0x8888, 0x0001, "1-1")));
    ASSERT_TRUE(test::WaitUntil(
        [&] { return io->OpenAttempts("/dev/video2") == 4 && Notifier().PendingCount() == 0; }));
    EXPECT_TRUE(received.empty());
    // Given up for good: the next plug-in is all that is heard of.
    io->ChangeNode("/dev/video2", [](test::ScriptedNode& node) { node.openErrno = 0; });
    const V4l2NodeInfo webcam = Node("/dev/video4", 0x046D, 0x0825, "1-2");
    io->AddNode(Scripted("/dev/video4"));
    events->Push(Event(V4l2Uevent::Action::kAdd, webcam));
    ASSERT_TRUE(test::WaitUntil([&] { return !received.empty(); }));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].name, BuildDevicePath(webcam));
    EXPECT_EQ(io->OpenAttempts("/dev/video2"), 4);
}

TEST_F(NotifierFixture, NodeRemovedBeforeItOpenedIsNeverAnnounced) {
    Register();
    const V4l2NodeInfo scanner = Node("/dev/video2", 0x8888, 0x0001, "1-1");
    test::ScriptedNode late = Scripted("/dev/video2");
    late.openErrno = EACCES;
    io->AddNode(late);
    events->Push(Event(V4l2Uevent::Action::kAdd, scanner));
    events->Push(Event(V4l2Uevent::Action::kRemove, AsRemoved(scanner)));
    ASSERT_TRUE(test::WaitUntil(
        [&] { return io->OpenAttempts("/dev/video2") >= 1 && Notifier().PendingCount() == 0; }));
    io->ChangeNode("/dev/video2", [](test::ScriptedNode& node) { node.openErrno = 0; });
    // Something later to wait for: the next plug-in announces itself.
    const V4l2NodeInfo webcam = Node("/dev/video4", 0x046D, 0x0825, "1-2");
    io->AddNode(Scripted("/dev/video4"));
    events->Push(Event(V4l2Uevent::Action::kAdd, webcam));
    ASSERT_TRUE(test::WaitUntil([&] { return !received.empty(); }));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].name, BuildDevicePath(webcam));
}

TEST_F(NotifierFixture, OtherInterfaceClassesHearNothing) {
    Register(devices::kVideoInputDeviceCategory);
    EXPECT_FALSE(Notifier().Listening());
}

TEST_F(NotifierFixture, WithoutAnEventSourceNothingIsHeard) {
    V4l2BackendParts parts;
    parts.io = io;
    parts.nodes = nodes;
    V4l2DeviceBackend quiet(parts);
    const auto registration = quiet.RegisterDeviceNotification(contract::kCaptureInterfaceCategory);
    ASSERT_NE(registration, nullptr);
    EXPECT_FALSE(static_cast<V4l2DeviceNotifier&>(*registration).Listening());
}

// A filter of this process took the node away and brought it back (the film type written past
// the driver): its removal and arrival are no unplug and plug; a later real removal names the
// device as the connection knows it, even when the node came back under another name, and even
// for a registration made after the change (whose events udev passes on late).
struct ReattachCase {
    const char* node;
    bool registeredAfter;
};

class ReattachTest : public NotifierFixture, public testing::WithParamInterface<ReattachCase> {};

TEST_P(ReattachTest, IsNotAnnouncedAndTheNodeKeepsItsPath) {
    const V4l2NodeInfo before = Node("/dev/video2", 0x8888, 0x0001, "1-1");
    const V4l2NodeInfo after = Node(GetParam().node, 0x8888, 0x0001, "1-1");
    Add(before, Scripted("/dev/video2"));
    if (!GetParam().registeredAfter) {
        Register();
    }
    watch->ReportReattach({before.syspath, after.syspath, BuildDevicePath(before)});
    io->ChangeNode("/dev/video2", [&](test::ScriptedNode& node) { node.devnode = after.devnode; });
    nodes->nodes = {after};
    if (GetParam().registeredAfter) {
        Register();
    }
    events->Push(Event(V4l2Uevent::Action::kRemove, AsRemoved(before)));
    events->Push(Event(V4l2Uevent::Action::kAdd, after));
    events->Push(Event(V4l2Uevent::Action::kRemove, AsRemoved(after)));
    ASSERT_TRUE(test::WaitUntil([&] { return !received.empty(); }));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].eventCode, devices::kDeviceRemoveComplete);
    EXPECT_EQ(received[0].name, BuildDevicePath(before));
}

INSTANTIATE_TEST_SUITE_P(Table, ReattachTest,
                         testing::Values(ReattachCase{"/dev/video2", false},
                                         ReattachCase{"/dev/video5", false},
                                         ReattachCase{"/dev/video2", true},
                                         ReattachCase{"/dev/video5", true}));

struct LostCase {
    const char* name;
    bool eventSource;
    // The kernel's removal event follows the stream's end within the grace time.
    bool removalEvent;
};

// A stream that ended with its device gone is a removal: announced once, by the event when one
// comes, after the grace time when none does, at once when no events can be read at all.
class StreamLostTest : public NotifierFixture, public testing::WithParamInterface<LostCase> {};

TEST_P(StreamLostTest, IsAnnouncedAsTheDevicesRemovalOnce) {
    const V4l2NodeInfo scanner = Node("/dev/video2", 0x8888, 0x0001, "1-1");
    Add(scanner, Scripted("/dev/video2"));
    hotplug.lostGraceMs = 50;
    withEvents = GetParam().eventSource;
    Register();
    watch->ReportLost(BuildDevicePath(scanner), scanner.syspath);
    if (GetParam().removalEvent) {
        events->Push(Event(V4l2Uevent::Action::kRemove, AsRemoved(scanner)));
    }
    ASSERT_TRUE(test::WaitUntil([&] { return !received.empty(); }));
    EXPECT_EQ(received[0].eventCode, devices::kDeviceRemoveComplete);
    EXPECT_EQ(received[0].name, BuildDevicePath(scanner));
    if (GetParam().eventSource) {
        events->Push(Event(V4l2Uevent::Action::kRemove, AsRemoved(scanner)));
    }
    EXPECT_FALSE(test::WaitUntil([&] { return received.size() > 1; }, 200ms));
}

INSTANTIATE_TEST_SUITE_P(Table, StreamLostTest,
                         testing::Values(LostCase{"RemovalEventFollows", true, true},
                                         LostCase{"NoRemovalEvent", true, false},
                                         LostCase{"NoEventSource", false, false}),
                         [](const testing::TestParamInfo<LostCase>& p) { return p.param.name; });

TEST_F(NotifierFixture, EndingTheRegistrationDropsWhatWasNotDelivered) {
    Register();
    io->AddNode(Scripted("/dev/video2"));
    events->Push(Event(V4l2Uevent::Action::kAdd, Node("/dev/video2", 0x8888, 0x0001, "1-1")));
    notifier.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(received.empty());
}

}  // namespace
}  // namespace zv::v4l2
