#include "platform/v4l2/v4l2_device_backend.h"

#include "platform/v4l2/system_usb_io.h"
#include "platform/v4l2/system_v4l2_io.h"
#include "platform/v4l2/udev_monitor_source.h"
#include "platform/v4l2/udev_node_source.h"
#include "platform/v4l2/v4l2_capture_node.h"
#include "platform/v4l2/v4l2_device_enumerator.h"
#include "platform/v4l2/v4l2_device_watch.h"
#include "platform/v4l2/v4l2_node_source.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>

namespace zv::v4l2 {

namespace {

V4l2BackendParts SystemParts() {
    V4l2BackendParts parts;
    parts.io = std::make_shared<SystemV4l2Io>();
    parts.nodes = std::make_shared<UdevNodeSource>();
    parts.usb = std::make_shared<SystemUsbIo>();
    parts.events = []() -> std::unique_ptr<V4l2UeventSource> {
        return UdevMonitorSource::Create();
    };
    return parts;
}

// "/dev/video10" -> ("/dev/video", 10): nodes sort by name, then by number, so video2 comes
// before video10.
std::pair<std::string_view, unsigned long> SortKey(const std::string& devnode) {
    std::size_t digits = devnode.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(devnode[digits - 1])) != 0) {
        --digits;
    }
    unsigned long number = 0;
    for (std::size_t i = digits; i < devnode.size() && i < digits + 9; ++i) {
        number = number * 10 + static_cast<unsigned long>(devnode[i] - '0');
    }
    return {std::string_view(devnode).substr(0, digits), number};
}

V4l2BackendParts WithWatch(V4l2BackendParts parts) {
    if (parts.watch == nullptr) {
        parts.watch = std::make_shared<V4l2DeviceWatch>();
    }
    return parts;
}

}  // namespace

V4l2DeviceBackend::V4l2DeviceBackend() : V4l2DeviceBackend(SystemParts()) {}

V4l2DeviceBackend::V4l2DeviceBackend(V4l2BackendParts parts)
    : m_parts(WithWatch(std::move(parts))) {}

V4l2UsbAccess V4l2DeviceBackend::UsbAccess() const {
    return {m_parts.usb, m_parts.nodes, m_parts.watch, m_parts.reattachTiming};
}

V4l2DeviceBackend::~V4l2DeviceBackend() = default;

std::vector<V4l2NodeInfo> V4l2DeviceBackend::CaptureNodes() {
    std::vector<V4l2NodeInfo> nodes;
    if (m_parts.nodes == nullptr || m_parts.io == nullptr) {
        return nodes;
    }
    for (V4l2NodeInfo& node : m_parts.nodes->ListNodes()) {
        // A node that cannot be opened cannot be told to capture: it is not listed.
        if (OpenCaptureNode(*m_parts.io, node.devnode, nullptr) == kOk) {
            nodes.push_back(std::move(node));
        }
    }
    std::stable_sort(nodes.begin(), nodes.end(), [](const V4l2NodeInfo& a, const V4l2NodeInfo& b) {
        return SortKey(a.devnode) < SortKey(b.devnode);
    });
    return nodes;
}

Status V4l2DeviceBackend::CreateClassEnumerator(
    const Guid& category, std::unique_ptr<devices::DeviceEnumerator>* enumerator) {
    if (enumerator == nullptr) {
        return kPointer;
    }
    enumerator->reset();
    if (category != devices::kVideoInputDeviceCategory) {
        return kFalse;
    }
    std::vector<V4l2NodeInfo> nodes = CaptureNodes();
    if (nodes.empty()) {
        return kFalse;
    }
    *enumerator = std::make_unique<V4l2DeviceEnumerator>(m_parts.io, std::move(nodes),
                                                         m_parts.streamTiming, UsbAccess());
    return kOk;
}

std::unique_ptr<devices::DeviceNotifier> V4l2DeviceBackend::RegisterDeviceNotification(
    const Guid& interfaceClass) {
    std::unique_ptr<V4l2UeventSource> source = m_parts.events ? m_parts.events() : nullptr;
    // The source listens before the nodes are listed, so a node plugged in between is heard.
    const std::vector<V4l2NodeInfo> present =
        source != nullptr ? CaptureNodes() : std::vector<V4l2NodeInfo>{};
    return std::make_unique<V4l2DeviceNotifier>(m_parts.io, std::move(source), interfaceClass,
                                                present, m_parts.hotplugTiming, m_parts.watch);
}

}  // namespace zv::v4l2
