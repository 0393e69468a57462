#pragma once

#include "platform/status.h"

#include <QString>

#include <memory>

namespace zv::media {
class Filter;
}

namespace zv::devices {

// Name of the device property that holds the device path: the same string the device's arrival
// and removal notifications carry as interface name.
inline constexpr char kDevicePathProperty[] = "DevicePath";

// One device of the device list: it can be bound to its source filter and can read the
// properties of the device (among them "DevicePath"). Each call asks the device afresh, so a
// device unplugged since the list was made fails them. GUI thread.
class DeviceEntry {
public:
    virtual ~DeviceEntry() = default;

    // The device's source filter, ready to be put into a capture graph; `filter` is left alone
    // on failure.
    virtual Status BindFilter(std::shared_ptr<media::Filter>* filter) = 0;
    // A device property by name; kNotFound for one the device does not have. `value` is left
    // alone on failure.
    virtual Status ReadProperty(const QString& name, QString* value) = 0;
};

}  // namespace zv::devices
