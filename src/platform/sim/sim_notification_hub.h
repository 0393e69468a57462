#pragma once

#include "platform/devices/device_change_event.h"

#include <mutex>
#include <vector>

namespace zv::sim {

class SimDeviceNotifier;

// The registrations of the simulated device bus. Shared between the bus and its notifiers, so a
// notifier may outlive the bus and the other way round. Thread-safe: Deliver posts each change to
// the notifier's own thread.
class SimNotificationHub {
public:
    void Register(SimDeviceNotifier* notifier);
    void Unregister(SimDeviceNotifier* notifier);
    int RegistrationCount() const;

    // Device-interface changes go to the registrations of their class, changes of other device
    // types to every registration. Returns how many registrations the change was posted to.
    int Deliver(const devices::DeviceChangeEvent& event);

private:
    // Protects m_notifiers; held while posting, so a notifier cannot be destroyed mid-post.
    mutable std::mutex m_mutex;
    std::vector<SimDeviceNotifier*> m_notifiers;
};

}  // namespace zv::sim
