#include "platform/sim/sim_device_log.h"

#include <utility>

namespace zv::sim {

void SimDeviceLog::AddPropertyWrite(const SimPropertyWrite& write) {
    std::lock_guard lock(m_mutex);
    m_propertyWrites.push_back(write);
}

void SimDeviceLog::AddKsRequest(SimKsRequest request) {
    std::lock_guard lock(m_mutex);
    m_ksRequests.push_back(std::move(request));
}

std::vector<SimPropertyWrite> SimDeviceLog::PropertyWrites() const {
    std::lock_guard lock(m_mutex);
    return m_propertyWrites;
}

std::vector<SimKsRequest> SimDeviceLog::KsRequests() const {
    std::lock_guard lock(m_mutex);
    return m_ksRequests;
}

void SimDeviceLog::Clear() {
    std::lock_guard lock(m_mutex);
    m_propertyWrites.clear();
    m_ksRequests.clear();
}

}  // namespace zv::sim
