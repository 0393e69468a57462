#include "platform/v4l2/udev_node_source.h"

#include "platform/v4l2/udev_node_reader.h"

#include <libudev.h>

namespace zv::v4l2 {

std::vector<V4l2NodeInfo> UdevNodeSource::ListNodes() {
    std::vector<V4l2NodeInfo> nodes;
    udev* context = udev_new();
    if (context == nullptr) {
        return nodes;
    }
    udev_enumerate* enumerate = udev_enumerate_new(context);
    if (enumerate != nullptr && udev_enumerate_add_match_subsystem(enumerate, "video4linux") >= 0 &&
        udev_enumerate_scan_devices(enumerate) >= 0) {
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate)) {
            udev_device* device =
                udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
            if (device == nullptr) {
                continue;
            }
            V4l2NodeInfo node;
            if (ReadUdevNode(device, &node)) {
                nodes.push_back(std::move(node));
            }
            udev_device_unref(device);
        }
    }
    if (enumerate != nullptr) {
        udev_enumerate_unref(enumerate);
    }
    udev_unref(context);
    return nodes;
}

}  // namespace zv::v4l2
