#include "platform/v4l2/udev_node_reader.h"

#include "platform/v4l2/device_path.h"

#include <charconv>
#include <cstring>
#include <libudev.h>
#include <string_view>

namespace zv::v4l2 {

namespace {

bool ParseHex16(const char* text, std::uint16_t* value) {
    if (text == nullptr) {
        return false;
    }
    const std::size_t length = std::strlen(text);
    if (length == 0 || length > 4) {
        return false;
    }
    unsigned parsed = 0;
    const auto result = std::from_chars(text, text + length, parsed, 16);
    if (result.ec != std::errc{} || result.ptr != text + length) {
        return false;
    }
    *value = static_cast<std::uint16_t>(parsed);
    return true;
}

std::string Text(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

bool ReadUdevNode(udev_device* device, V4l2NodeInfo* info) {
    const char* devnode = udev_device_get_devnode(device);
    if (devnode == nullptr) {
        return false;
    }
    V4l2NodeInfo node;
    node.devnode = devnode;
    node.syspath = Text(udev_device_get_syspath(device));
    node.name = Text(udev_device_get_sysattr_value(device, "name"));

    UsbInterfaceLocation location;
    if (ParseUsbInterfaceLocation(node.syspath, &location)) {
        node.portPath = location.portPath;
        node.interfaceNumber = location.interfaceNumber;
        node.configurationValue = location.configurationValue;
        udev_device* usb =
            udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
        if (usb != nullptr) {
            node.usbDeviceSyspath = Text(udev_device_get_syspath(usb));
            node.manufacturer = Text(udev_device_get_sysattr_value(usb, "manufacturer"));
            node.product = Text(udev_device_get_sysattr_value(usb, "product"));
            node.usb = ParseHex16(udev_device_get_sysattr_value(usb, "idVendor"), &node.vendorId) &&
                       ParseHex16(udev_device_get_sysattr_value(usb, "idProduct"), &node.productId);
        }
    }
    *info = std::move(node);
    return true;
}

}  // namespace zv::v4l2
