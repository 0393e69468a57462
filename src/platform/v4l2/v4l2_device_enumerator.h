#pragma once

#include "platform/devices/device_enumerator.h"
#include "platform/v4l2/v4l2_node_info.h"
#include "platform/v4l2/v4l2_stream_timing.h"
#include "platform/v4l2/v4l2_usb_access.h"

#include <memory>
#include <vector>

namespace zv::v4l2 {

class V4l2Io;

// The capture nodes of the real device system in their stable order, as they were when it was
// made. GUI thread.
class V4l2DeviceEnumerator : public devices::DeviceEnumerator {
public:
    V4l2DeviceEnumerator(std::shared_ptr<V4l2Io> io, std::vector<V4l2NodeInfo> nodes,
                         V4l2StreamTiming timing, V4l2UsbAccess usbAccess = {});

    Status Next(std::unique_ptr<devices::DeviceEntry>* entry) override;

private:
    const std::shared_ptr<V4l2Io> m_io;
    const std::vector<V4l2NodeInfo> m_nodes;
    const V4l2StreamTiming m_timing;
    const V4l2UsbAccess m_usbAccess;
    std::size_t m_next = 0;
};

}  // namespace zv::v4l2
