#pragma once

#include "platform/v4l2/v4l2_node_info.h"

#include <string>

namespace zv::test {

// The USB device of the bench's virtual film scanner in sysfs.
inline constexpr char kScannerUsbDevice[] = "/sys/devices/platform/vhci_hcd.0/usb1/1-1";

// What udev tells of the bench scanner's capture node, `devnode` ("/dev/video1"), on interface 0
// of port 1-1.
inline v4l2::V4l2NodeInfo ScannerNodeInfo(const std::string& devnode = "/dev/video1") {
    v4l2::V4l2NodeInfo info;
    info.devnode = devnode;
    info.syspath = std::string(kScannerUsbDevice) + "/1-1:1.0/video4linux/" +
                   devnode.substr(devnode.rfind('/') + 1);
    info.name = "Virtual Film Scanner: Film Scanner";
    info.usb = true;
    info.vendorId = 0x8888;
    info.productId = 0x0001;
    info.portPath = "1-1";
    info.interfaceNumber = 0;
    info.configurationValue = 1;
    info.usbDeviceSyspath = kScannerUsbDevice;
    return info;
}

}  // namespace zv::test
