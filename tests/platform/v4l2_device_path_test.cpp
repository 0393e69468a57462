#include "platform/devices/scanner_contract.h"
#include "platform/v4l2/device_path.h"

#include <gtest/gtest.h>

namespace zv::v4l2 {
namespace {

V4l2NodeInfo UsbNode(std::uint16_t vendor, std::uint16_t product, std::string port, int interface,
                     std::string devnode) {
    V4l2NodeInfo node;
    node.devnode = std::move(devnode);
    node.usb = true;
    node.vendorId = vendor;
    node.productId = product;
    node.portPath = std::move(port);
    node.interfaceNumber = interface;
    return node;
}

struct PathCase {
    V4l2NodeInfo node;
    const char* expected;
};

class DevicePathBuilding : public testing::TestWithParam<PathCase> {};

TEST_P(DevicePathBuilding, HoldsIdsPortAndNode) {
    EXPECT_EQ(BuildDevicePath(GetParam().node).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DevicePathBuilding,
    testing::Values(PathCase{UsbNode(0x8888, 0x0001, "1-1", 0, "/dev/video1"),
                             "v4l2#vid_8888&pid_0001&mi_00#1-1#/dev/video1"},
                    // Lower-case hex, four digits each.
                    PathCase{UsbNode(0x046D, 0x0825, "3-2.4.1", 2, "/dev/video12"),
                             "v4l2#vid_046d&pid_0825&mi_02#3-2.4.1#/dev/video12"},
                    PathCase{UsbNode(0x00AB, 0x000C, "2-10", 0x1A, "/dev/video0"),
                             "v4l2#vid_00ab&pid_000c&mi_1a#2-10#/dev/video0"},
                    PathCase{UsbNode(0xFFFF, 0xFFFF, "1-1", -1, "/dev/video3"),
                             "v4l2#vid_ffff&pid_ffff#1-1#/dev/video3"},
                    PathCase{[] {
                                 V4l2NodeInfo node;
                                 node.devnode = "/dev/video0";
                                 return node;
                             }(),
                             "v4l2#nousb#/dev/video0"}));

bool HasScannerIdentifiers(const QString& path) {
    return path.contains(QLatin1String(contract::kVidPid.data(), contract::kVidPid.size()),
                         Qt::CaseInsensitive);
}

TEST(DevicePath, OnlyTheScannersPathHoldsItsIdentifiers) {
    EXPECT_TRUE(
        HasScannerIdentifiers(BuildDevicePath(UsbNode(0x8888, 0x0001, "1-1", 0, "/dev/video1"))));
    EXPECT_FALSE(
        HasScannerIdentifiers(BuildDevicePath(UsbNode(0x8888, 0x0002, "1-1", 0, "/dev/video1"))));
    EXPECT_FALSE(
        HasScannerIdentifiers(BuildDevicePath(UsbNode(0x0888, 0x0001, "1-1", 0, "/dev/video1"))));
}

TEST(DevicePath, TheSameNodeOnTheSamePortGivesTheSamePath) {
    const V4l2NodeInfo before = UsbNode(0x8888, 0x0001, "1-1.2", 0, "/dev/video1");
    V4l2NodeInfo after = before;
    after.syspath = "/sys/devices/other";  // nothing else of the node counts
    after.name = "another name";
    EXPECT_EQ(BuildDevicePath(before), BuildDevicePath(after));
    after.portPath = "1-1.3";
    EXPECT_NE(BuildDevicePath(before), BuildDevicePath(after));
}

struct LocationCase {
    const char* syspath;
    bool found;
    const char* port;
    int configuration;
    int interface;
};

class UsbLocation : public testing::TestWithParam<LocationCase> {};

TEST_P(UsbLocation, FromTheSysfsPath) {
    const LocationCase& c = GetParam();
    UsbInterfaceLocation location;
    location.portPath = "untouched";
    ASSERT_EQ(ParseUsbInterfaceLocation(c.syspath, &location), c.found) << c.syspath;
    EXPECT_EQ(location.portPath, c.port);
    if (c.found) {
        EXPECT_EQ(location.configurationValue, c.configuration);
        EXPECT_EQ(location.interfaceNumber, c.interface);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, UsbLocation,
    testing::Values(
        LocationCase{"/sys/devices/platform/vhci_hcd.0/usb1/1-1/1-1:1.0/video4linux/video1", true,
                     "1-1", 1, 0},
        LocationCase{"/sys/devices/pci0000:00/0000:00:14.0/usb3/3-2/3-2.4/3-2.4:1.2/video4linux/"
                     "video0",
                     true, "3-2.4", 1, 2},
        // The interface closest to the node counts (a device behind a hub on a hub).
        LocationCase{"/sys/devices/x/usb1/1-1/1-1:1.0/1-1.3/1-1.3:2.1/video4linux/video5", true,
                     "1-1.3", 2, 1},
        LocationCase{"/sys/devices/x/usb2/2-10/2-10:1.11/video4linux/video9", true, "2-10", 1, 11},
        // PCI addresses and other components with colons are not USB interfaces.
        LocationCase{"/sys/devices/pci0000:00/0000:00:02.0/video4linux/video0", false, "untouched",
                     0, 0},
        LocationCase{"/sys/devices/platform/vivid.0/video4linux/video3", false, "untouched", 0, 0},
        LocationCase{"/sys/devices/x/1-1:1/video4linux/video0", false, "untouched", 0, 0},
        LocationCase{"/sys/devices/x/-1:1.0/video4linux/video0", false, "untouched", 0, 0},
        LocationCase{"/sys/devices/x/1-:1.0/video4linux/video0", false, "untouched", 0, 0},
        LocationCase{"/sys/devices/x/1-1..2:1.0/video4linux/video0", false, "untouched", 0, 0},
        LocationCase{"/sys/devices/x/1-1:1.0000/video4linux/video0", false, "untouched", 0, 0},
        LocationCase{"", false, "untouched", 0, 0}));

}  // namespace
}  // namespace zv::v4l2
