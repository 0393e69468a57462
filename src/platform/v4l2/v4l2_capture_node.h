#pragma once

#include "platform/status.h"

#include <string>

// Opening a video4linux node and asking whether it captures video. Plain functions on the
// device access object; the GUI thread.
namespace zv::v4l2 {

class V4l2Io;

// What a node says of itself.
struct V4l2NodeCapabilities {
    // The node captures video frames by streaming (metadata and output nodes do not).
    bool capture = false;
    // The driver's name of the device ("card").
    std::string card;
};

// Asks an open node for its capabilities (VIDIOC_QUERYCAP).
Status QueryNodeCapabilities(V4l2Io& io, int fd, V4l2NodeCapabilities* capabilities);

// Opens the node at `devnode` and asks it. kOk with the node open in `fd` when it captures video;
// kFalse (nothing left open) when it does not; the failure to open or ask otherwise. `fd` may be
// null: the node is closed again.
Status OpenCaptureNode(V4l2Io& io, const std::string& devnode, int* fd,
                       V4l2NodeCapabilities* capabilities = nullptr);

// The sysfs directory of the device a node belongs to (its USB interface): the node's sysfs path
// without "/video4linux/<name>"; empty for a path without that part.
std::string NodeParentSyspath(const std::string& nodeSyspath);

// Whether another handle streams from the open node: requesting a buffer answers EBUSY while
// another handle owns the node's stream. A request that succeeds is undone at once.
bool StreamHeldElsewhere(V4l2Io& io, int fd);

}  // namespace zv::v4l2
