#pragma once

#include "platform/v4l2/v4l2_node_source.h"

#include <vector>

namespace zv::test {

// The video4linux nodes a test says are present, as udev would list them.
class ListedNodes : public v4l2::V4l2NodeSource {
public:
    std::vector<v4l2::V4l2NodeInfo> ListNodes() override { return nodes; }
    std::vector<v4l2::V4l2NodeInfo> nodes;
};

}  // namespace zv::test
