#include "platform/v4l2/v4l2_device_enumerator.h"

#include "platform/v4l2/v4l2_device_entry.h"

#include <utility>

namespace zv::v4l2 {

V4l2DeviceEnumerator::V4l2DeviceEnumerator(std::shared_ptr<V4l2Io> io,
                                           std::vector<V4l2NodeInfo> nodes, V4l2StreamTiming timing,
                                           V4l2UsbAccess usbAccess)
    : m_io(std::move(io)),
      m_nodes(std::move(nodes)),
      m_timing(timing),
      m_usbAccess(std::move(usbAccess)) {}

Status V4l2DeviceEnumerator::Next(std::unique_ptr<devices::DeviceEntry>* entry) {
    if (entry == nullptr) {
        return kPointer;
    }
    if (m_next >= m_nodes.size()) {
        return kFalse;
    }
    *entry = std::make_unique<V4l2DeviceEntry>(m_io, m_nodes[m_next++], m_timing, m_usbAccess);
    return kOk;
}

}  // namespace zv::v4l2
