#pragma once

#include "platform/status.h"

namespace zv::v4l2 {

// What holds a device's capture node open (its source filter), as a request that takes the
// device's interface away from the video driver needs it: let go of the node first, so that the
// driver can let go of the device, and take it up again when the driver is back. GUI thread.
class V4l2NodeHolder {
public:
    virtual ~V4l2NodeHolder() = default;

    // Stops streaming and closes every descriptor on the node (its buffers too). Fails, with
    // nothing changed, as kSharingViolation while another program streams from the device: its
    // stream would be cut.
    virtual Status ReleaseNode() = 0;
    // Waits (bounded) for the node of the same USB interface to be back, under whatever name,
    // opens it and streams again if it streamed before. devices::kDeviceNotConnected when it does
    // not come back.
    virtual Status ReclaimNode() = 0;
};

}  // namespace zv::v4l2
