#pragma once

#include "platform/devices/ks_control.h"

#include <array>
#include <cstdint>
#include <memory>

namespace zv {

// What an open extension unit knows of one selector: its access flags (get 1, set 2; 0 when
// the selector cannot be used) and its value size in bytes (0 when it was not learnt).
struct SelectorEntry {
    std::uint32_t access = 0;
    std::uint32_t size = 0;
};

// The scanner chip's vendor extension unit, opened on a device's source filter by
// OpenExtensionUnit and closed by CloseExtensionUnit: the topology request interface (it keeps
// the filter alive while set), the unit's node and the selectors 1 to 32 (entry 0 stays zero:
// selector 0 is the unit information, not a control). Open while the control interface is set
// and the node is known. GUI thread.
struct ExtensionUnitHandle {
    static constexpr std::uint32_t kNoNode = 0xFFFFFFFF;
    static constexpr std::uint32_t kMaxSelector = 32;

    std::shared_ptr<devices::KsControl> control;
    std::uint32_t nodeId = kNoNode;
    std::array<SelectorEntry, kMaxSelector + 1> selectors{};

    bool IsOpen() const { return control != nullptr && nodeId != kNoNode; }
};

}  // namespace zv
