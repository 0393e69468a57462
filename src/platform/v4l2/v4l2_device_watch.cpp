#include "platform/v4l2/v4l2_device_watch.h"

namespace zv::v4l2 {

V4l2DeviceWatch::V4l2DeviceWatch() = default;

V4l2DeviceWatch::~V4l2DeviceWatch() = default;

void V4l2DeviceWatch::ReportReattach(const V4l2Reattach& reattach) {
    emit reattached(reattach);
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
