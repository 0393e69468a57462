#pragma once

#include "platform/devices/device_entry.h"

#include <memory>

namespace zv::sim {

class SimDeviceFilter;

// One device of the simulated bus's device list. Binding hands out the device's filter unless
// the device cannot be bound or has been unplugged; the properties are "DevicePath" and
// "FriendlyName". GUI thread.
class SimDeviceEntry : public devices::DeviceEntry {
public:
    explicit SimDeviceEntry(std::shared_ptr<SimDeviceFilter> device);

    Status BindFilter(std::shared_ptr<media::Filter>* filter) override;
    Status ReadProperty(const QString& name, QString* value) override;

private:
    const std::shared_ptr<SimDeviceFilter> m_device;
};

}  // namespace zv::sim
