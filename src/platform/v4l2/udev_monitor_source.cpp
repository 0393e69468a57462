#include "platform/v4l2/udev_monitor_source.h"

#include "platform/v4l2/udev_node_reader.h"

#include <cstring>
#include <libudev.h>
#include <unistd.h>

namespace zv::v4l2 {

namespace {

// udev's daemon creates this while it runs; without it no event reaches udev's own group.
constexpr char kUdevRunning[] = "/run/udev/control";

udev_monitor* Listen(udev* context, const char* group) {
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, group);
    if (monitor == nullptr) {
        return nullptr;
    }
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor, "video4linux", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        udev_monitor_unref(monitor);
        return nullptr;
    }
    return monitor;
}

}  // namespace

std::unique_ptr<UdevMonitorSource> UdevMonitorSource::Create() {
    udev* context = udev_new();
    if (context == nullptr) {
        return nullptr;
    }
    const bool kernel = ::access(kUdevRunning, F_OK) != 0;
    udev_monitor* monitor = Listen(context, kernel ? "kernel" : "udev");
    if (monitor == nullptr) {
        udev_unref(context);
        return nullptr;
    }
    return std::unique_ptr<UdevMonitorSource>(new UdevMonitorSource(context, monitor, kernel));
}

UdevMonitorSource::UdevMonitorSource(udev* context, udev_monitor* monitor, bool kernelEvents)
    : m_context(context), m_monitor(monitor), m_kernelEvents(kernelEvents) {}

UdevMonitorSource::~UdevMonitorSource() {
    udev_monitor_unref(m_monitor);
    udev_unref(m_context);
}

int UdevMonitorSource::Fd() const {
    return udev_monitor_get_fd(m_monitor);
}

bool UdevMonitorSource::Receive(V4l2Uevent* event) {
    // The monitor's socket does not block: null means nothing waits.
    while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        const char* subsystem = udev_device_get_subsystem(device);
        const char* action = udev_device_get_action(device);
        V4l2Uevent received;
        const bool relevant = subsystem != nullptr && std::strcmp(subsystem, "video4linux") == 0 &&
                              action != nullptr && ReadUdevNode(device, &received.node);
        if (relevant) {
            if (std::strcmp(action, "add") == 0) {
                received.action = V4l2Uevent::Action::kAdd;
            } else if (std::strcmp(action, "remove") == 0) {
                received.action = V4l2Uevent::Action::kRemove;
            }
        }
        udev_device_unref(device);
        if (relevant) {
            *event = std::move(received);
            return true;
        }
    }
    return false;
}

}  // namespace zv::v4l2
