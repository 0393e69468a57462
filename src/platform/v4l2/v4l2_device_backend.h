#pragma once

#include "platform/devices/device_backend.h"
#include "platform/v4l2/v4l2_device_notifier.h"
#include "platform/v4l2/v4l2_node_info.h"
#include "platform/v4l2/v4l2_stream_timing.h"
#include "platform/v4l2/v4l2_usb_access.h"

#include <functional>
#include <memory>
#include <vector>

namespace zv::v4l2 {

class UsbIo;
class V4l2DeviceWatch;
class V4l2Io;
class V4l2NodeSource;
class V4l2UeventSource;

// What the real device system is made of; tests replace the parts that reach the system.
struct V4l2BackendParts {
    std::shared_ptr<V4l2Io> io;
    std::shared_ptr<V4l2NodeSource> nodes;
    // A hot-plug event source per registration; null when none can be made.
    std::function<std::unique_ptr<V4l2UeventSource>()> events;
    // The USB side of the devices (film type through the USB device); null: none.
    std::shared_ptr<UsbIo> usb;
    // Made by the backend when not given.
    std::shared_ptr<V4l2DeviceWatch> watch;
    V4l2StreamTiming streamTiming;
    V4l2HotplugTiming hotplugTiming;
    V4l2ReattachTiming reattachTiming;
};

// The real device system (video4linux and uvcvideo): the video input category lists the nodes
// that capture video (metadata and output nodes left out), ordered by node number; each binds to
// a V4l2SourceFilter, which may reach its USB device past the driver. Notifications come from
// udev's hot-plug events (V4l2DeviceNotifier) and from the filters, through a watch they share.
// GUI thread.
class V4l2DeviceBackend : public devices::DeviceBackend {
public:
    // The system's parts: device nodes, udev, sysfs.
    V4l2DeviceBackend();
    explicit V4l2DeviceBackend(V4l2BackendParts parts);
    ~V4l2DeviceBackend() override;

    Status CreateClassEnumerator(const Guid& category,
                                 std::unique_ptr<devices::DeviceEnumerator>* enumerator) override;
    std::unique_ptr<devices::DeviceNotifier> RegisterDeviceNotification(
        const Guid& interfaceClass) override;

    // The capture nodes present now, in list order.
    std::vector<V4l2NodeInfo> CaptureNodes();

private:
    V4l2UsbAccess UsbAccess() const;

    const V4l2BackendParts m_parts;
};

}  // namespace zv::v4l2
