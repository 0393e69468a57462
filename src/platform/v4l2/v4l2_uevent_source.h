#pragma once

#include "platform/v4l2/v4l2_node_info.h"

namespace zv::v4l2 {

// One change of a video4linux node as the hot-plug source reports it.
struct V4l2Uevent {
    enum class Action { kAdd, kRemove, kOther };
    Action action = Action::kOther;
    // For a removal only what the event itself carries: the USB identifiers may be missing.
    V4l2NodeInfo node;
};

// Where hot-plug events come from: a descriptor that becomes readable when events wait, and
// reading them. The system's source is a udev monitor (UdevMonitorSource). GUI thread.
class V4l2UeventSource {
public:
    virtual ~V4l2UeventSource() = default;

    virtual int Fd() const = 0;
    // The next waiting event of the video4linux subsystem; false when none waits.
    virtual bool Receive(V4l2Uevent* event) = 0;
};

}  // namespace zv::v4l2
