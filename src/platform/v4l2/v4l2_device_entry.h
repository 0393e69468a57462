#pragma once

#include "platform/devices/device_entry.h"
#include "platform/v4l2/v4l2_node_info.h"
#include "platform/v4l2/v4l2_stream_timing.h"
#include "platform/v4l2/v4l2_usb_access.h"

#include <memory>

namespace zv::v4l2 {

class V4l2Io;

// One capture node of the device list. Binding opens the node into its source filter; the
// properties are "DevicePath" and "FriendlyName". A node unplugged since the list was made fails
// both with devices::kDeviceNotConnected. GUI thread.
class V4l2DeviceEntry : public devices::DeviceEntry {
public:
    V4l2DeviceEntry(std::shared_ptr<V4l2Io> io, V4l2NodeInfo node, V4l2StreamTiming timing,
                    V4l2UsbAccess usbAccess = {});

    Status BindFilter(std::shared_ptr<media::Filter>* filter) override;
    Status ReadProperty(const QString& name, QString* value) override;

private:
    bool Present() const;

    const std::shared_ptr<V4l2Io> m_io;
    const V4l2NodeInfo m_node;
    const V4l2StreamTiming m_timing;
    const V4l2UsbAccess m_usbAccess;
};

}  // namespace zv::v4l2
