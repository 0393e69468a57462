#pragma once

#include "platform/devices/device_enumerator.h"
#include "platform/devices/device_notifier.h"
#include "platform/guid.h"
#include "platform/status.h"

#include <memory>

namespace zv::devices {

// The category of video input devices (capture devices that can be bound to a source filter).
inline constexpr Guid kVideoInputDeviceCategory{
    0x860BB310, 0x5D01, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

// The device system of one backend (simulated or real devices): lists devices and announces
// their arrival and removal. The program picks one at start. GUI thread unless a backend says more.
class DeviceBackend {
public:
    virtual ~DeviceBackend() = default;

    // An enumerator over the devices of `category` as they are now. kOk with an enumerator;
    // kFalse with none (`enumerator` emptied) when the category holds no device.
    virtual Status CreateClassEnumerator(const Guid& category,
                                         std::unique_ptr<DeviceEnumerator>* enumerator) = 0;

    // Registers for arrival and removal of device interfaces of `interfaceClass` (and for the
    // changes of other device types that reach every registration). The notifier lives on the
    // calling thread and delivers there; destroying it unregisters.
    virtual std::unique_ptr<DeviceNotifier> RegisterDeviceNotification(
        const Guid& interfaceClass) = 0;
};

}  // namespace zv::devices
