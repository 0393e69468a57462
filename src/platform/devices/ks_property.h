#pragma once

#include "platform/guid.h"
#include "platform/status.h"

#include <cstdint>

// Kernel-streaming-style property requests as a device's topology nodes answer them: the request
// record, its flags and the node types the system looks for. Plain values, any thread.
namespace zv::devices {

// A property request addressed to one node of the topology (32 bytes on the wire: property set,
// id, flags, node id, reserved).
struct KsNodeProperty {
    Guid set;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t nodeId = 0;
    std::uint32_t reserved = 0;
};

// Request kinds; combined with kKsPropertyTypeTopology for a request to a node.
inline constexpr std::uint32_t kKsPropertyTypeGet = 0x00000001;
inline constexpr std::uint32_t kKsPropertyTypeSet = 0x00000002;
inline constexpr std::uint32_t kKsPropertyTypeSetSupport = 0x00000100;
inline constexpr std::uint32_t kKsPropertyTypeBasicSupport = 0x00000200;
inline constexpr std::uint32_t kKsPropertyTypeTopology = 0x10000000;

// The four requests made of an extension unit.
inline constexpr std::uint32_t kKsTopologySetSupport =
    kKsPropertyTypeTopology | kKsPropertyTypeSetSupport;  // 0x10000100
inline constexpr std::uint32_t kKsTopologyGet =
    kKsPropertyTypeTopology | kKsPropertyTypeGet;  // 0x10000001
inline constexpr std::uint32_t kKsTopologyBasicSupport =
    kKsPropertyTypeTopology | kKsPropertyTypeBasicSupport;  // 0x10000200
inline constexpr std::uint32_t kKsTopologySet =
    kKsPropertyTypeTopology | kKsPropertyTypeSet;  // 0x10000002

// Node types of a video device's topology. Vendor extension units are device-specific nodes.
inline constexpr Guid kKsNodeTypeDevSpecific{
    0x941C7AC0, 0xC559, 0x11D0, {0x8A, 0x2B, 0x00, 0xA0, 0xC9, 0x25, 0x5A, 0xC1}};
inline constexpr Guid kKsNodeTypeVideoProcessing{
    0xDFF229E5, 0xF70F, 0x11D0, {0xB9, 0x17, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
inline constexpr Guid kKsNodeTypeVideoCameraTerminal{
    0xDFF229E6, 0xF70F, 0x11D0, {0xB9, 0x17, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

// Answers of a node beyond the common codes of platform/status.h (kNotReady, kMoreData,
// kInsufficientBuffer, kNotFound).
// The node does not know the request's property set.
inline constexpr Status kSetNotFound = MakeStatus(0x80070492);
// The device was unplugged; every request to it fails so.
inline constexpr Status kDeviceNotConnected = MakeStatus(0x8007048F);

}  // namespace zv::devices
