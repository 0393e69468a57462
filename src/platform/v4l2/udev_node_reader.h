#pragma once

#include "platform/v4l2/v4l2_node_info.h"

struct udev_device;

namespace zv::v4l2 {

// What udev and sysfs say of one video4linux device: its node, its sysfs path, its name and,
// for a USB device, the identifiers, port chain, interface and configuration. Enumeration and
// hot-plug both read a node with this one function, so that both build the same DevicePath for
// it. The port chain, interface and configuration come from the sysfs path itself, the USB
// identifiers from the parent USB device (gone by the time of a removal: the notifier names a
// removed node by the path it had). False for a device without a node.
// GUI thread.
bool ReadUdevNode(udev_device* device, V4l2NodeInfo* info);

}  // namespace zv::v4l2
