#pragma once

#include "platform/listed_nodes.h"
#include "platform/pipe_uevent_source.h"
#include "platform/v4l2/v4l2_device_backend.h"
#include "platform/v4l2/v4l2_device_watch.h"
#include "platform/v4l2_scripted_io.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace zv::test {

inline v4l2::V4l2NodeInfo Node(const std::string& devnode, std::uint16_t vendor,
                               std::uint16_t product, const std::string& port) {
    v4l2::V4l2NodeInfo node;
    node.devnode = devnode;
    node.syspath = "/sys/devices/x/usb1/" + port + "/" + port + ":1.0/video4linux/" +
                   devnode.substr(devnode.rfind('/') + 1);
    node.name = "Camera " + devnode;
    node.usb = true;
    node.vendorId = vendor;
    node.productId = product;
    node.portPath = port;
    node.interfaceNumber = 0;
    return node;
}

inline ScriptedNode Scripted(const std::string& devnode,
                             std::uint32_t caps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING) {
    ScriptedNode node;
    node.devnode = devnode;
    node.deviceCaps = caps;
    node.formats = {{V4L2_PIX_FMT_MJPEG, {{640, 480}}, {{1, 30}}}};
    return node;
}

class BackendFixture : public testing::Test {
protected:
    BackendFixture()
        : io(std::make_shared<ScriptedV4l2Io>()), nodes(std::make_shared<ListedNodes>()) {}

    // A node listed by udev and present in the scripted device.
    void Add(const v4l2::V4l2NodeInfo& info, ScriptedNode scripted) {
        nodes->nodes.push_back(info);
        io->AddNode(std::move(scripted));
        io->SetExists(info.syspath, true);
    }

    std::unique_ptr<v4l2::V4l2DeviceBackend> Backend() {
        v4l2::V4l2BackendParts parts;
        parts.io = io;
        parts.nodes = nodes;
        parts.events = [this]() -> std::unique_ptr<v4l2::V4l2UeventSource> {
            auto source = std::make_unique<PipeUeventSource>();
            events = source.get();
            return source;
        };
        if (!withEvents) {
            parts.events = nullptr;
        }
        parts.hotplugTiming = hotplug;
        parts.watch = watch;
        return std::make_unique<v4l2::V4l2DeviceBackend>(std::move(parts));
    }

    std::shared_ptr<ScriptedV4l2Io> io;
    std::shared_ptr<ListedNodes> nodes;
    std::shared_ptr<v4l2::V4l2DeviceWatch> watch = std::make_shared<v4l2::V4l2DeviceWatch>();
    bool withEvents = true;
    PipeUeventSource* events = nullptr;
    // Retries every 5 ms, given up only after 5 s (a bound for a failing test).
    v4l2::V4l2HotplugTiming hotplug{5, 1000};
};

}  // namespace zv::test
