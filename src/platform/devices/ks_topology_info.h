#pragma once

#include "platform/guid.h"
#include "platform/status.h"

#include <cstdint>

namespace zv::devices {

// The nodes of a device's topology, numbered from 0, each with its node type (camera terminal,
// processing unit, device-specific node for vendor extension units). Obtained from a device's
// source filter (media::Filter::GetKsTopologyInfo). GUI thread.
class KsTopologyInfo {
public:
    virtual ~KsTopologyInfo() = default;

    virtual Status GetNumNodes(std::uint32_t* count) = 0;
    // kInvalidArg for a node past the end.
    virtual Status GetNodeType(std::uint32_t node, Guid* type) = 0;
};

}  // namespace zv::devices
