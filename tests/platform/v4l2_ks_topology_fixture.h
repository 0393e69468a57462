#pragma once

#include "platform/devices/ks_property.h"
#include "platform/devices/scanner_contract.h"
#include "platform/v4l2/uvc_descriptors.h"
#include "platform/v4l2/v4l2_ks_topology.h"
#include "platform/v4l2_descriptor_blobs.h"
#include "platform/v4l2_scripted_io.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace zv::test {

using Bytes = std::vector<std::uint8_t>;
using devices::kKsTopologyBasicSupport;
using devices::kKsTopologyGet;
using devices::kKsTopologySet;
using devices::kKsTopologySetSupport;

// The node numbers of the bench scanner's units.
inline constexpr std::uint32_t kCameraNode = 0;
inline constexpr std::uint32_t kProcessingNode = 1;
inline constexpr std::uint32_t kUnitNode = 2;
inline constexpr std::uint8_t kUnitId = 4;

// The bench scanner's extension unit behind a scripted driver.
class ExtensionUnitFixture : public testing::Test {
protected:
    ExtensionUnitFixture() {
        ScriptedNode node;
        node.devnode = "/dev/video1";
        node.selectors[{kUnitId, 10}] = ScriptedSelector{0x03, Bytes(8, 0)};
        node.selectors[{kUnitId, 11}] = ScriptedSelector{0x01, Bytes{1, 2, 3, 4, 5, 6, 7, 8}};
        node.selectors[{kUnitId, 12}] = ScriptedSelector{0x03, Bytes{0xAA, 0xBB}};
        io.AddNode(node);
        fd = io.Open("/dev/video1");
        topology = std::make_unique<v4l2::V4l2KsTopology>(
            io, fd, v4l2::ParseUvcDescriptors(kScannerDescriptors, 0).entities);
        io.ClearLog();
    }

    Status Request(std::uint32_t flags, std::uint32_t id, std::uint32_t node, Bytes* data,
                   const Guid& set = contract::kExtensionUnitPropertySet) {
        devices::KsNodeProperty request;
        request.set = set;
        request.id = id;
        request.flags = flags;
        request.nodeId = node;
        returned = 0xDEAD;
        return topology->KsProperty(request, *data, &returned);
    }

    ScriptedV4l2Io io;
    int fd = -1;
    std::unique_ptr<v4l2::V4l2KsTopology> topology;
    std::uint32_t returned = 0;
};

}  // namespace zv::test
