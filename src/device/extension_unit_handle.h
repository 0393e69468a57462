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

// The scanner chip's vendor extension unit, open for as long as this object lives: the topology
// request interface (it keeps the filter alive), the unit's node and the selectors 1 to 32 (entry
// 0 stays zero: selector 0 is the unit information, not a control). OpenExtensionUnit makes it;
// there is no handle that is not open, and dropping it closes the unit. Move-only. GUI thread.
class ExtensionUnitHandle {
public:
    static constexpr std::uint32_t kMaxSelector = 32;
    using Selectors = std::array<SelectorEntry, kMaxSelector + 1>;

    // `control` must be set.
    ExtensionUnitHandle(std::shared_ptr<devices::KsControl> control, std::uint32_t nodeId,
                        const Selectors& selectors);
    ExtensionUnitHandle(ExtensionUnitHandle&&) noexcept = default;
    ExtensionUnitHandle& operator=(ExtensionUnitHandle&&) noexcept = default;
    ExtensionUnitHandle(const ExtensionUnitHandle&) = delete;
    ExtensionUnitHandle& operator=(const ExtensionUnitHandle&) = delete;

    devices::KsControl& Control() const { return *m_control; }
    std::uint32_t NodeId() const { return m_nodeId; }
    // The entry of `selector`; null beyond kMaxSelector.
    const SelectorEntry* Entry(std::uint32_t selector) const {
        return selector <= kMaxSelector ? &m_selectors[selector] : nullptr;
    }

private:
    std::shared_ptr<devices::KsControl> m_control;
    std::uint32_t m_nodeId;
    Selectors m_selectors;
};

}  // namespace zv
