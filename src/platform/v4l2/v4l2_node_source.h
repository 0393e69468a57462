#pragma once

#include "platform/v4l2/v4l2_node_info.h"

#include <vector>

namespace zv::v4l2 {

// The video4linux nodes present now, of every kind (capture, metadata, output); the backend
// keeps the capture nodes. The system's source is udev (UdevNodeSource). GUI thread.
class V4l2NodeSource {
public:
    virtual ~V4l2NodeSource() = default;

    virtual std::vector<V4l2NodeInfo> ListNodes() = 0;
};

}  // namespace zv::v4l2
