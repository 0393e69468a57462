#include "device/extension_unit.h"

#include "platform/devices/filter_interfaces.h"
#include "platform/devices/ks_control.h"
#include "platform/devices/ks_property.h"
#include "platform/devices/ks_topology_info.h"
#include "platform/devices/scanner_contract.h"

#include <algorithm>
#include <cassert>
#include <span>

namespace zv {

namespace {

using devices::KsNodeProperty;

constexpr std::uint32_t kNoNode = 0xFFFFFFFF;

// The unit information holds at most this many bytes (descriptor from its code on).
constexpr std::size_t kUnitInfoCapacity = 64;
// Offsets in the unit information.
constexpr std::size_t kNumControlsOffset = 16;
constexpr std::size_t kNumInputPinsOffset = 17;
constexpr std::size_t kSourceIdsOffset = 18;
// Control bitmaps longer than this do not fit the 32 selectors.
constexpr std::size_t kMaxBitmapSize = 4;

KsNodeProperty Request(std::uint32_t id, std::uint32_t flags, std::uint32_t nodeId) {
    KsNodeProperty request;
    request.set = contract::kExtensionUnitPropertySet;
    request.id = id;
    request.flags = flags;
    request.nodeId = nodeId;
    request.reserved = 0;
    return request;
}

std::uint32_t ReadUint32(const std::array<std::uint8_t, 4>& bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// The first device-specific node that accepts the vendor property set, or kNoNode.
std::uint32_t FindUnitNode(devices::KsControl& control, devices::KsTopologyInfo& topology,
                           std::uint32_t nodeCount) {
    for (std::uint32_t node = 0; node < nodeCount; ++node) {
        Guid type;
        if (topology.GetNodeType(node, &type) != kOk || type != devices::kKsNodeTypeDevSpecific) {
            continue;
        }
        std::array<std::uint8_t, 4> data{};
        std::uint32_t returned = 0;
        if (control.KsProperty(Request(0, devices::kKsTopologySetSupport, node), data, &returned) ==
            kOk) {
            return node;
        }
    }
    return kNoNode;
}

// What the unit information says: the number of controls and the control bitmap.
struct UnitInformation {
    std::uint32_t numControls = 0;
    std::uint32_t bitmap = 0;
};

enum class ParseResult { kOk, kBadBitmapSize, kCutShort };

// Reads only the `length` bytes the unit returned.
ParseResult ParseUnitInformation(std::span<const std::uint8_t> info, UnitInformation* parsed) {
    if (info.size() <= kNumInputPinsOffset) {
        return ParseResult::kCutShort;
    }
    const std::size_t pins = info[kNumInputPinsOffset];
    const std::size_t bitmapSizeOffset = kSourceIdsOffset + pins;
    if (bitmapSizeOffset >= info.size()) {
        return ParseResult::kCutShort;
    }
    const std::size_t bitmapSize = info[bitmapSizeOffset];
    if (bitmapSize == 0 || bitmapSize > kMaxBitmapSize) {
        return ParseResult::kBadBitmapSize;
    }
    if (bitmapSizeOffset + bitmapSize >= info.size()) {
        return ParseResult::kCutShort;
    }
    parsed->numControls = info[kNumControlsOffset];
    parsed->bitmap = 0;
    for (std::size_t i = 0; i < bitmapSize; ++i) {
        parsed->bitmap |= static_cast<std::uint32_t>(info[bitmapSizeOffset + 1 + i]) << (8 * i);
    }
    return ParseResult::kOk;
}

// Learns the access flags and the value size of selector `selector`; true when its size was
// learnt.
bool ProbeSelector(devices::KsControl& control, std::uint32_t nodeId, std::uint32_t selector,
                   SelectorEntry& entry, const ProbePause& pause) {
    std::array<std::uint8_t, 4> access{};
    std::uint32_t returned = 0;
    Status status = control.KsProperty(Request(selector, devices::kKsTopologyBasicSupport, nodeId),
                                       access, &returned);
    if (Failed(status)) {
        entry.access = 0;
        return false;
    }
    entry.access = ReadUint32(access);
    if (entry.access == 0) {
        return false;
    }
    // A get without a buffer answers the size the value needs. The device may not be ready yet:
    // it gets a pause after every attempt and a bounded number of attempts.
    int attempts = 0;
    do {
        returned = 0;
        status =
            control.KsProperty(Request(selector, devices::kKsTopologyGet, nodeId), {}, &returned);
        pause(kSizeProbePause);
        ++attempts;
    } while (status == kNotReady && attempts < kSizeProbeAttempts);

    entry.size = 0;
    if ((status == kMoreData || status == kInsufficientBuffer) && returned > 0) {
        entry.size = returned;
        return true;
    }
    if (Failed(status)) {
        entry.access = 0;
    }
    return false;
}

bool IsValueSize(std::uint32_t size) {
    return size == 1 || size == 2 || size == 4 || size == 8;
}

}  // namespace

ExtensionUnitHandle::ExtensionUnitHandle(std::shared_ptr<devices::KsControl> control,
                                         std::uint32_t nodeId, const Selectors& selectors)
    : m_control(std::move(control)), m_nodeId(nodeId), m_selectors(selectors) {
    assert(m_control != nullptr);
}

OpenedExtensionUnit OpenExtensionUnit(const std::shared_ptr<media::Filter>& filter,
                                      const ProbePause& pause) {
    if (filter == nullptr) {
        return {kPointer, std::nullopt};
    }
    std::shared_ptr<devices::KsControl> control;
    if (const Status status = devices::QueryKsControl(filter, &control); Failed(status)) {
        return {status, std::nullopt};
    }
    std::shared_ptr<devices::KsTopologyInfo> topology;
    if (const Status status = devices::QueryKsTopologyInfo(filter, &topology); Failed(status)) {
        return {status, std::nullopt};
    }
    std::uint32_t nodeCount = 0;
    if (const Status status = topology->GetNumNodes(&nodeCount); Failed(status)) {
        return {status, std::nullopt};
    }
    const std::uint32_t nodeId = FindUnitNode(*control, *topology, nodeCount);
    if (nodeId == kNoNode) {
        return {kFail, std::nullopt};
    }

    std::array<std::uint8_t, kUnitInfoCapacity> info{};
    std::uint32_t returned = 0;
    const Status infoStatus =
        control->KsProperty(Request(0, devices::kKsTopologyGet, nodeId), info, &returned);
    if (Failed(infoStatus)) {
        return {infoStatus, std::nullopt};
    }
    UnitInformation unit;
    const std::size_t length = std::min<std::size_t>(returned, info.size());
    switch (ParseUnitInformation(std::span(info.data(), length), &unit)) {
        case ParseResult::kOk:
            break;
        case ParseResult::kBadBitmapSize:
            return {infoStatus, std::nullopt};
        case ParseResult::kCutShort:
            return {kFail, std::nullopt};
    }

    ExtensionUnitHandle::Selectors selectors{};
    std::uint32_t learnt = 0;
    for (std::uint32_t bit = 0; bit < ExtensionUnitHandle::kMaxSelector; ++bit) {
        if (learnt >= unit.numControls) {
            break;
        }
        if ((unit.bitmap & (std::uint32_t{1} << bit)) == 0) {
            continue;
        }
        const std::uint32_t selector = bit + 1;
        if (ProbeSelector(*control, nodeId, selector, selectors[selector], pause)) {
            ++learnt;
        }
    }
    return {kOk, ExtensionUnitHandle(std::move(control), nodeId, selectors)};
}

Status GetSelector(const ExtensionUnitHandle& handle, std::uint32_t selector, std::int64_t* value) {
    if (value == nullptr) {
        return kPointer;
    }
    const SelectorEntry* entry = handle.Entry(selector);
    if (entry == nullptr || (entry->access & devices::kKsPropertyTypeGet) == 0) {
        return kNotFound;
    }
    if (!IsValueSize(entry->size)) {
        return kFail;
    }
    std::array<std::uint8_t, 8> bytes{};
    std::uint32_t returned = 0;
    const Status status =
        handle.Control().KsProperty(Request(selector, devices::kKsTopologyGet, handle.NodeId()),
                                    std::span(bytes.data(), entry->size), &returned);
    if (status != kOk) {
        return status;
    }
    // Bytes the unit did not return are no part of the value.
    if (returned < entry->size) {
        return kFail;
    }
    std::uint64_t raw = 0;
    for (std::uint32_t i = 0; i < entry->size; ++i) {
        raw |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    }
    switch (entry->size) {
        case 1:
            *value = static_cast<std::int8_t>(raw);
            break;
        case 2:
            *value = static_cast<std::int16_t>(raw);
            break;
        case 4:
            *value = static_cast<std::int32_t>(raw);
            break;
        default:
            *value = static_cast<std::int64_t>(raw);
            break;
    }
    return kOk;
}

Status SetSelector(const ExtensionUnitHandle& handle, std::uint32_t selector, std::int64_t value) {
    const SelectorEntry* entry = handle.Entry(selector);
    if (entry == nullptr || (entry->access & devices::kKsPropertyTypeSet) == 0) {
        return kNotFound;
    }
    if (!IsValueSize(entry->size)) {
        return kFail;
    }
    std::array<std::uint8_t, 8> bytes{};
    const auto raw = static_cast<std::uint64_t>(value);
    for (std::uint32_t i = 0; i < entry->size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(raw >> (8 * i));
    }
    std::uint32_t returned = 0;
    return handle.Control().KsProperty(Request(selector, devices::kKsTopologySet, handle.NodeId()),
                                       std::span(bytes.data(), entry->size), &returned);
}

}  // namespace zv
