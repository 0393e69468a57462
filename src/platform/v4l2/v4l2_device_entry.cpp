#include "platform/v4l2/v4l2_device_entry.h"

#include "platform/devices/ks_property.h"
#include "platform/v4l2/device_path.h"
#include "platform/v4l2/v4l2_io.h"
#include "platform/v4l2/v4l2_source_filter.h"

#include <utility>

namespace zv::v4l2 {

V4l2DeviceEntry::V4l2DeviceEntry(std::shared_ptr<V4l2Io> io, V4l2NodeInfo node,
                                 V4l2StreamTiming timing, V4l2UsbAccess usbAccess)
    : m_io(std::move(io)),
      m_node(std::move(node)),
      m_timing(timing),
      m_usbAccess(std::move(usbAccess)) {}

bool V4l2DeviceEntry::Present() const {
    return m_io->Exists(m_node.syspath.empty() ? m_node.devnode : m_node.syspath) == 0;
}

Status V4l2DeviceEntry::BindFilter(std::shared_ptr<media::Filter>* filter) {
    if (filter == nullptr) {
        return kPointer;
    }
    if (!Present()) {
        return devices::kDeviceNotConnected;
    }
    std::shared_ptr<V4l2SourceFilter> bound;
    if (const Status status = V4l2SourceFilter::Create(m_io, m_node, m_timing, &bound, m_usbAccess);
        Failed(status)) {
        return status;
    }
    *filter = std::move(bound);
    return kOk;
}

Status V4l2DeviceEntry::ReadProperty(const QString& name, QString* value) {
    if (value == nullptr) {
        return kPointer;
    }
    if (!Present()) {
        return devices::kDeviceNotConnected;
    }
    if (name == QLatin1String(devices::kDevicePathProperty)) {
        *value = BuildDevicePath(m_node);
        return kOk;
    }
    if (name == QLatin1String("FriendlyName")) {
        *value = QString::fromStdString(m_node.name);
        return kOk;
    }
    return kNotFound;
}

}  // namespace zv::v4l2
