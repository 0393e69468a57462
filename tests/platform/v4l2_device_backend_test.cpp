#include "platform/devices/device_entry.h"
#include "platform/devices/device_enumerator.h"
#include "platform/devices/ks_property.h"
#include "platform/devices/scanner_contract.h"
#include "platform/media/filter.h"
#include "platform/v4l2_backend_fixture.h"

#include <cerrno>

namespace zv::v4l2 {
namespace {

using namespace test;

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

}  // namespace
}  // namespace zv::v4l2
