#pragma once

#include "platform/devices/device_entry.h"
#include "platform/status.h"

#include <memory>

namespace zv::devices {

// The devices of one category in the platform's order, as they were when the enumerator was made.
// GUI thread.
class DeviceEnumerator {
public:
    virtual ~DeviceEnumerator() = default;

    // kOk with the next device, or kFalse (entry untouched) when no device follows.
    virtual Status Next(std::unique_ptr<DeviceEntry>* entry) = 0;
};

}  // namespace zv::devices
