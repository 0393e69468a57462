#pragma once

#include <memory>

namespace zv::v4l2 {

class UsbIo;
class V4l2DeviceWatch;
class V4l2NodeSource;

// How long a request past the video driver may take, and how long the capture node may take to
// come back after it (looked for every poll interval).
struct V4l2ReattachTiming {
    int nodeWaitMs = 3000;
    int pollIntervalMs = 20;
    int requestTimeoutMs = 1000;
};

// What a device filter needs to reach its USB device past the video driver (the film type on
// kernels without a roll control): the USB side, the node list to find its node again, and the
// watch that tells the hot-plug registrations. Empty parts: no such access. A plain value.
struct V4l2UsbAccess {
    std::shared_ptr<UsbIo> usb;
    std::shared_ptr<V4l2NodeSource> nodes;
    std::shared_ptr<V4l2DeviceWatch> watch;
    V4l2ReattachTiming timing;
};

}  // namespace zv::v4l2
