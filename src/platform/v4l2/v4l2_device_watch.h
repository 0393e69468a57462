#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <string>
#include <vector>

namespace zv::v4l2 {

// A capture node this process took away and brought back itself (a request sent past the video
// driver makes it release the device and probe it again): its sysfs path before and after (the
// same unless the node came back under another name), and the DevicePath the connection knows
// the device by.
struct V4l2Reattach {
    std::string oldSyspath;
    std::string newSyspath;
    QString devicePath;
    // When the node was back.
    std::chrono::steady_clock::time_point when = std::chrono::steady_clock::now();
};

// What the device filters of one device system tell its hot-plug registrations beyond the
// kernel's events: removals and arrivals the process caused itself (so that they are not taken
// for the user's unplug and plug) and streams that ended because their device is gone (so that a
// removal is announced even when no event says so). It remembers the recent node changes for a
// while, because their events may reach a registration made after them (the window connects
// before it registers, and udev passes events on late). Shared by the backend, its filters and
// its notifiers; lives on the GUI thread.
class V4l2DeviceWatch : public QObject {
    Q_OBJECT

public:
    V4l2DeviceWatch();
    ~V4l2DeviceWatch() override;

    // GUI thread, right after the node is back (before its events are read).
    void ReportReattach(const V4l2Reattach& reattach);
    // The node changes reported within `window` before now (GUI thread).
    std::vector<V4l2Reattach> Recent(std::chrono::milliseconds window) const;
    // Any thread (a streaming thread): delivered through the GUI thread's event loop.
    void ReportLost(const QString& devicePath, const std::string& syspath);

signals:
    void reattached(const zv::v4l2::V4l2Reattach& reattach);
    void streamLost(const QString& devicePath, const QString& syspath);

private:
    // How long node changes are remembered; GUI thread.
    static constexpr std::chrono::seconds kMemory{60};
    std::vector<V4l2Reattach> m_recent;
};

}  // namespace zv::v4l2
