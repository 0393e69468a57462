#pragma once

#include "platform/v4l2/v4l2_uevent_source.h"

#include <memory>

struct udev;
struct udev_monitor;

namespace zv::v4l2 {

// Hot-plug events of the video4linux subsystem from a udev monitor. Where a udev daemon runs the
// monitor listens to udev's own events (sent once udev has set up the node); where none runs
// (minimal systems, containers) it falls back to the kernel's uevents, which may announce a node
// before it can be opened (the notifier retries those). GUI thread.
class UdevMonitorSource : public V4l2UeventSource {
public:
    // A listening monitor, or null when none can be made.
    static std::unique_ptr<UdevMonitorSource> Create();
    ~UdevMonitorSource() override;

    int Fd() const override;
    bool Receive(V4l2Uevent* event) override;
    // Whether the events come from the kernel rather than a udev daemon.
    bool KernelEvents() const { return m_kernelEvents; }

private:
    UdevMonitorSource(udev* context, udev_monitor* monitor, bool kernelEvents);

    udev* const m_context;
    udev_monitor* const m_monitor;
    const bool m_kernelEvents;
};

}  // namespace zv::v4l2
