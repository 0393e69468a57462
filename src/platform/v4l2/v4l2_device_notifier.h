#pragma once

#include "platform/devices/device_notifier.h"
#include "platform/v4l2/v4l2_node_info.h"
#include "platform/v4l2/v4l2_uevent_source.h"

#include <QTimer>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

namespace zv::v4l2 {

class V4l2DeviceWatch;
class V4l2Io;
struct V4l2Reattach;

// How a node announced before it can be opened is retried: every interval, at most this often,
// then it is given up (about 2 s in all). How long a stream that ended with its device gone waits
// for the removal event before the removal is announced anyway, and how long the events of a
// node this process took away and brought back are waited for.
struct V4l2HotplugTiming {
    int retryIntervalMs = 100;
    int maxAttempts = 20;
    int lostGraceMs = 1000;
    int reattachEventsMs = 10000;
};

// A registration for arrival and removal of capture devices on the real device system. Hot-plug
// events are read through a socket notifier on the thread that registered (the window's), so
// every change is emitted from that thread's event loop. An added node is announced once it
// opens as a video capture node (metadata nodes never are); one that cannot be opened yet is
// tried again on a timer, never in a busy wait, and dropped when it goes or the attempts run
// out. A removed node is announced with the DevicePath it had when it was present at
// registration or announced since (a removal event no longer reaches the node's USB device);
// the removal of any other node is not announced. Changes carry the capture device class and
// the DevicePath as interface name. A registration for any other class hears nothing.
// From the watch of its device system it learns what the events alone cannot tell: the removal
// and arrival of a node that a filter of this process took away and brought back are not
// announced (the node then goes on under the DevicePath it had, even under another name, so
// that its later removal names the device the connection knows); and a stream that ended with
// its device gone is announced as that device's removal when no removal event follows within
// the grace time, or at once when no hot-plug events can be read at all.
class V4l2DeviceNotifier : public devices::DeviceNotifier {
    Q_OBJECT

public:
    // `present`: the capture nodes present now. `watch` may be null.
    V4l2DeviceNotifier(std::shared_ptr<V4l2Io> io, std::unique_ptr<V4l2UeventSource> source,
                       const Guid& interfaceClass, const std::vector<V4l2NodeInfo>& present,
                       V4l2HotplugTiming timing = {},
                       std::shared_ptr<V4l2DeviceWatch> watch = nullptr);
    ~V4l2DeviceNotifier() override;

    // Whether hot-plug events are being read.
    bool Listening() const { return m_socket != nullptr; }
    // Nodes seen arriving that could not be opened yet.
    int PendingCount() const { return static_cast<int>(m_pending.size()); }

private:
    struct Pending {
        V4l2NodeInfo node;
        int attempts = 0;
    };
    // An event of a node this process took away and brought back: not announced.
    struct Expected {
        std::string syspath;
        // Arrivals: the DevicePath the node goes on under.
        QString path;
        std::chrono::steady_clock::time_point until;
    };

    void OnReadable();
    void OnAdded(const V4l2NodeInfo& node);
    void OnRemoved(const V4l2NodeInfo& node);
    void RetryPending();
    // True when the node is settled (announced or given up), false to try again later.
    bool TryAnnounce(Pending& pending);
    void Emit(std::uint32_t eventCode, const QString& path);
    void OnReattached(const V4l2Reattach& reattach);
    void OnStreamLost(const QString& path);
    // Announces the removal of `path` unless it has been announced since the stream ended.
    void AnnounceLost(const QString& path);
    // Takes the expectation for `syspath` out of `list` (expired ones are dropped on the way).
    static bool TakeExpected(std::vector<Expected>& list, const std::string& syspath,
                             QString* path = nullptr);

    const std::shared_ptr<V4l2Io> m_io;
    const std::unique_ptr<V4l2UeventSource> m_source;
    const V4l2HotplugTiming m_timing;
    QSocketNotifier* m_socket = nullptr;
    QTimer m_retryTimer;
    // DevicePaths of the capture nodes present or announced, by sysfs path.
    std::map<std::string, QString> m_known;
    // Added nodes waiting to be opened, by sysfs path.
    std::map<std::string, Pending> m_pending;
    std::vector<Expected> m_expectedRemovals;
    std::vector<Expected> m_expectedArrivals;
    // DevicePaths whose stream ended with the device gone, not announced as removed yet.
    std::vector<QString> m_lost;
    const std::shared_ptr<V4l2DeviceWatch> m_watch;
};

}  // namespace zv::v4l2
