#pragma once

#include <cstdint>
#include <string>

namespace zv::v4l2 {

// What the backend knows of one video4linux device node and the USB device it belongs to, read
// from udev and sysfs at enumeration or from a hot-plug event. A plain value, any thread.
struct V4l2NodeInfo {
    // "/dev/video1".
    std::string devnode;
    // The node's sysfs directory ("/sys/devices/.../1-1:1.0/video4linux/video1"): the key under
    // which enumeration and hot-plug events name the same node.
    std::string syspath;
    // The driver's name of the device (sysfs "name"), for display.
    std::string name;

    // Set when the node belongs to a USB interface.
    bool usb = false;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    // Bus and port chain of the USB device ("1-1.4"), the same for every plug into that port.
    std::string portPath;
    // The USB interface the driver bound (bInterfaceNumber) and the active configuration
    // (bConfigurationValue, 0 when unknown).
    int interfaceNumber = -1;
    int configurationValue = 0;
    // The USB device's sysfs directory; its "descriptors" file holds the raw descriptors.
    std::string usbDeviceSyspath;
    // The USB device's manufacturer and product strings (empty when it has none).
    std::string manufacturer;
    std::string product;
};

}  // namespace zv::v4l2
