#include "platform/v4l2/v4l2_device_notifier.h"

#include "platform/devices/device_change_event.h"
#include "platform/devices/ks_property.h"
#include "platform/devices/scanner_contract.h"
#include "platform/v4l2/device_path.h"
#include "platform/v4l2/v4l2_capture_node.h"
#include "platform/v4l2/v4l2_device_watch.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace zv::v4l2 {

V4l2DeviceNotifier::V4l2DeviceNotifier(std::shared_ptr<V4l2Io> io,
                                       std::unique_ptr<V4l2UeventSource> source,
                                       const Guid& interfaceClass,
                                       const std::vector<V4l2NodeInfo>& present,
                                       V4l2HotplugTiming timing,
                                       std::shared_ptr<V4l2DeviceWatch> watch)
    : m_io(std::move(io)),
      m_source(std::move(source)),
      m_timing(timing),
      m_watch(std::move(watch)) {
    if (interfaceClass != contract::kCaptureInterfaceCategory) {
        return;
    }
    if (m_watch != nullptr) {
        connect(m_watch.get(), &V4l2DeviceWatch::reattached, this,
                &V4l2DeviceNotifier::OnReattached);
        connect(m_watch.get(), &V4l2DeviceWatch::streamLost, this,
                [this](const QString& path, const QString&) { OnStreamLost(path); });
    }
    if (m_source == nullptr || m_source->Fd() < 0) {
        return;
    }
    for (const V4l2NodeInfo& node : present) {
        m_known[node.syspath] = BuildDevicePath(node);
    }
    m_socket = new QSocketNotifier(m_source->Fd(), QSocketNotifier::Read, this);
    if (m_watch != nullptr) {
        // Node changes made before this registration whose events may still be on their way.
        for (const V4l2Reattach& reattach :
             m_watch->Recent(std::chrono::milliseconds(m_timing.reattachEventsMs))) {
            OnReattached(reattach);
        }
    }
    connect(m_socket, &QSocketNotifier::activated, this, &V4l2DeviceNotifier::OnReadable);
    m_retryTimer.setInterval(m_timing.retryIntervalMs);
    connect(&m_retryTimer, &QTimer::timeout, this, &V4l2DeviceNotifier::RetryPending);
}

V4l2DeviceNotifier::~V4l2DeviceNotifier() = default;

void V4l2DeviceNotifier::OnReadable() {
    V4l2Uevent event;
    while (m_source->Receive(&event)) {
        if (event.action == V4l2Uevent::Action::kAdd) {
            OnAdded(event.node);
        } else if (event.action == V4l2Uevent::Action::kRemove) {
            OnRemoved(event.node);
        }
    }
}

void V4l2DeviceNotifier::OnAdded(const V4l2NodeInfo& node) {
    if (QString path; TakeExpected(m_expectedArrivals, node.syspath, &path)) {
        m_pending.erase(node.syspath);
        m_known[node.syspath] = path;
        return;
    }
    Pending pending{node, 0};
    if (TryAnnounce(pending)) {
        m_pending.erase(node.syspath);
        return;
    }
    m_pending[node.syspath] = std::move(pending);
    if (!m_retryTimer.isActive()) {
        m_retryTimer.start();
    }
}

void V4l2DeviceNotifier::OnRemoved(const V4l2NodeInfo& node) {
    m_pending.erase(node.syspath);
    if (m_pending.empty()) {
        m_retryTimer.stop();
    }
    if (TakeExpected(m_expectedRemovals, node.syspath)) {
        // Its arrival expectation carries the DevicePath on.
        m_known.erase(node.syspath);
        return;
    }
    // Every capture node is known: present at registration or announced since. The others
    // (metadata nodes, nodes that never opened) were never announced, so neither is their end.
    const auto known = m_known.find(node.syspath);
    if (known == m_known.end()) {
        return;
    }
    const QString path = known->second;
    m_known.erase(known);
    Emit(devices::kDeviceRemoveComplete, path);
}

bool V4l2DeviceNotifier::TakeExpected(std::vector<Expected>& list, const std::string& syspath,
                                      QString* path) {
    const auto now = std::chrono::steady_clock::now();
    std::erase_if(list, [now](const Expected& expected) { return expected.until < now; });
    const auto found = std::find_if(list.begin(), list.end(), [&](const Expected& expected) {
        return expected.syspath == syspath;
    });
    if (found == list.end()) {
        return false;
    }
    if (path != nullptr) {
        *path = found->path;
    }
    list.erase(found);
    return true;
}

void V4l2DeviceNotifier::OnReattached(const V4l2Reattach& reattach) {
    if (!Listening()) {
        return;  // no events to hold back
    }
    const auto until = reattach.when + std::chrono::milliseconds(m_timing.reattachEventsMs);
    const auto known = m_known.find(reattach.oldSyspath);
    const QString path = known != m_known.end() ? known->second : reattach.devicePath;
    m_expectedRemovals.push_back({reattach.oldSyspath, QString(), until});
    m_expectedArrivals.push_back({reattach.newSyspath, path, until});
    // Listed under its new name already (a registration made after the change): it goes on
    // under the name the connection knows.
    if (const auto renamed = m_known.find(reattach.newSyspath);
        renamed != m_known.end() && reattach.newSyspath != reattach.oldSyspath) {
        renamed->second = path;
    }
}

void V4l2DeviceNotifier::OnStreamLost(const QString& path) {
    if (!Listening()) {
        Emit(devices::kDeviceRemoveComplete, path);
        return;
    }
    if (std::find(m_lost.begin(), m_lost.end(), path) == m_lost.end()) {
        m_lost.push_back(path);
    }
    QTimer::singleShot(m_timing.lostGraceMs, this, [this, path] { AnnounceLost(path); });
}

void V4l2DeviceNotifier::AnnounceLost(const QString& path) {
    const auto lost = std::find(m_lost.begin(), m_lost.end(), path);
    if (lost == m_lost.end()) {
        return;  // its removal came
    }
    m_lost.erase(lost);
    std::erase_if(m_known, [&](const auto& entry) { return entry.second == path; });
    Emit(devices::kDeviceRemoveComplete, path);
}

void V4l2DeviceNotifier::RetryPending() {
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (TryAnnounce(it->second)) {
            it = m_pending.erase(it);
        } else {
            ++it;
        }
    }
    if (m_pending.empty()) {
        m_retryTimer.stop();
    }
}

bool V4l2DeviceNotifier::TryAnnounce(Pending& pending) {
    ++pending.attempts;
    const Status status = OpenCaptureNode(*m_io, pending.node.devnode, nullptr);
    if (status == kOk) {
        const QString path = BuildDevicePath(pending.node);
        m_known[pending.node.syspath] = path;
        Emit(devices::kDeviceArrival, path);
        return true;
    }
    if (status == kFalse || status == devices::kDeviceNotConnected) {
        return true;  // not a capture node, or gone again
    }
    return pending.attempts >= m_timing.maxAttempts;
}

void V4l2DeviceNotifier::Emit(std::uint32_t eventCode, const QString& path) {
    if (eventCode == devices::kDeviceRemoveComplete) {
        std::erase(m_lost, path);
    }
    devices::DeviceChangeEvent event;
    event.eventCode = eventCode;
    event.deviceType = devices::kDeviceTypeInterface;
    event.classGuid = contract::kCaptureInterfaceCategory;
    event.name = path;
    emit deviceChange(event);
}

}  // namespace zv::v4l2
