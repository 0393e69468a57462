#pragma once

#include "platform/v4l2/v4l2_node_info.h"

#include <QString>

#include <string_view>

// The DevicePath of a video4linux node: a string of our own that holds the USB identifiers in the
// form discovery looks for ("vid_8888&pid_0001", lower-case hex), the interface, the port chain
// and the node, e.g. "v4l2#vid_8888&pid_0001&mi_00#1-1#/dev/video1". Enumeration and hot-plug
// events build it with the same function from the same facts, so the two agree for a node.
// Plain functions, any thread.
namespace zv::v4l2 {

QString BuildDevicePath(const V4l2NodeInfo& info);

// Where a USB interface appears in a sysfs path ("/sys/devices/.../usb1/1-1/1-1.4:1.0/..."):
// the last path component of the form "<bus>-<port>[.<port>...]:<configuration>.<interface>".
struct UsbInterfaceLocation {
    std::string portPath;
    int configurationValue = 0;
    int interfaceNumber = -1;
};

// False (location untouched) when no component of `syspath` names a USB interface.
bool ParseUsbInterfaceLocation(std::string_view syspath, UsbInterfaceLocation* location);

}  // namespace zv::v4l2
