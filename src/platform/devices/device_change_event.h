#pragma once

#include "platform/guid.h"

#include <QMetaType>
#include <QString>

#include <cstdint>

namespace zv::devices {

// Event codes of a device change.
inline constexpr std::uint32_t kDeviceArrival = 0x8000;
inline constexpr std::uint32_t kDeviceRemoveComplete = 0x8004;

// Kinds of device a change names. Only device-interface changes carry a class and an interface
// name; the others (volumes, ports) reach every registration and carry neither.
inline constexpr std::uint32_t kDeviceTypeVolume = 2;
inline constexpr std::uint32_t kDeviceTypePort = 3;
inline constexpr std::uint32_t kDeviceTypeInterface = 5;

// One device change as the notifier delivers it. A plain value.
struct DeviceChangeEvent {
    std::uint32_t eventCode = 0;
    std::uint32_t deviceType = 0;
    // Device-interface changes: the interface class and the interface name, which has the form
    // of the device's "DevicePath".
    Guid classGuid;
    QString name;
};

}  // namespace zv::devices

Q_DECLARE_METATYPE(zv::devices::DeviceChangeEvent)
