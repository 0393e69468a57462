#pragma once

#include "platform/v4l2/v4l2_node_source.h"

namespace zv::v4l2 {

// The video4linux nodes udev lists (subsystem video4linux, from sysfs, so it works without a
// running udev daemon too). GUI thread.
class UdevNodeSource : public V4l2NodeSource {
public:
    std::vector<V4l2NodeInfo> ListNodes() override;
};

}  // namespace zv::v4l2
