#include "platform/devices/device_notifier.h"

namespace zv::devices {

DeviceNotifier::DeviceNotifier(QObject* parent) : QObject(parent) {}

DeviceNotifier::~DeviceNotifier() = default;

}  // namespace zv::devices
