#include "platform/v4l2/v4l2_device_notifier.h"

#include "platform/devices/device_change_event.h"
#include "platform/devices/scanner_contract.h"
#include "platform/v4l2/device_path.h"
#include "platform/v4l2_backend_fixture.h"
#include "support/wait.h"

#include <cerrno>

namespace zv::v4l2 {
namespace {

using namespace std::chrono_literals;
using namespace test;

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

    // A webcam plugged in next is announced, and it alone: nothing before it was.
    void ExpectOnlyTheNextPlugIn() {
        const V4l2NodeInfo webcam = Node("/dev/video4", 0x046D, 0x0825, "1-2");
        io->AddNode(Scripted("/dev/video4"));
        events->Push(Event(V4l2Uevent::Action::kAdd, webcam));
        ASSERT_TRUE(test::WaitUntil([&] { return !received.empty(); }));
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0].name, BuildDevicePath(webcam));
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
    ASSERT_NO_FATAL_FAILURE(ExpectOnlyTheNextPlugIn());
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
    ExpectOnlyTheNextPlugIn();
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
