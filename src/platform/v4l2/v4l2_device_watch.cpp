#include "platform/v4l2/v4l2_device_watch.h"

namespace zv::v4l2 {

V4l2DeviceWatch::V4l2DeviceWatch() = default;

V4l2DeviceWatch::~V4l2DeviceWatch() = default;

void V4l2DeviceWatch::ReportReattach(const V4l2Reattach& reattach) {
    const auto now = std::chrono::steady_clock::now();
    std::erase_if(m_recent, [now](const V4l2Reattach& old) { return now - old.when > kMemory; });
    m_recent.push_back(reattach);
    emit reattached(reattach);
}

std::vector<V4l2Reattach> V4l2DeviceWatch::Recent(std::chrono::milliseconds window) const {
    const auto now = std::chrono::steady_clock::now();
    std::vector<V4l2Reattach> recent;
    for (const V4l2Reattach& reattach : m_recent) {
        if (now - reattach.when <= window) {
            recent.push_back(reattach);
        }
    }
    return recent;
}

void V4l2DeviceWatch::ReportLost(const QString& devicePath, const std::string& syspath) {
    // Queued to this object's thread; dropped if the watch is gone by then.
    QMetaObject::invokeMethod(
        this,
        [this, devicePath, syspath = QString::fromStdString(syspath)] {
            emit streamLost(devicePath, syspath);
        },
        Qt::QueuedConnection);
}

}  // namespace zv::v4l2
