#pragma once

#include "platform/devices/device_change_event.h"

#include <QObject>

namespace zv::devices {

// A registration for device changes, made by DeviceBackend::RegisterDeviceNotification. It
// emits deviceChange on the thread it lives on (the one that registered: the window's), through
// that thread's event loop, never from inside a backend call. Destroying it ends the
// registration; changes not yet delivered are dropped then.
class DeviceNotifier : public QObject {
    Q_OBJECT

public:
    explicit DeviceNotifier(QObject* parent = nullptr);
    ~DeviceNotifier() override;

signals:
    void deviceChange(const zv::devices::DeviceChangeEvent& event);
};

}  // namespace zv::devices
