#pragma once

#include "platform/status.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace zv::sim {

enum class SimPropertyInterface { kVideoProcAmp, kCameraControl };

// One Set on a picture property interface, accepted or not.
struct SimPropertyWrite {
    SimPropertyInterface target = SimPropertyInterface::kVideoProcAmp;
    int property = 0;
    std::int32_t value = 0;
    std::int32_t flags = 0;
    Status status = kOk;

    friend bool operator==(const SimPropertyWrite&, const SimPropertyWrite&) = default;
};

// One request to the device's topology, as it was sent and answered.
struct SimKsRequest {
    std::uint32_t flags = 0;
    std::uint32_t id = 0;
    std::uint32_t nodeId = 0;
    std::uint32_t dataLength = 0;
    // The data of a set request.
    std::vector<std::uint8_t> sent;
    Status status = kOk;
    std::uint32_t bytesReturned = 0;
};

// What was asked of one simulated device, in order, for tests to read: every property write and
// every topology request. Written by the device's interfaces on the thread that calls them, read
// from any thread.
class SimDeviceLog {
public:
    void AddPropertyWrite(const SimPropertyWrite& write);
    void AddKsRequest(SimKsRequest request);

    std::vector<SimPropertyWrite> PropertyWrites() const;
    std::vector<SimKsRequest> KsRequests() const;
    void Clear();

private:
    // Protects both logs.
    mutable std::mutex m_mutex;
    std::vector<SimPropertyWrite> m_propertyWrites;
    std::vector<SimKsRequest> m_ksRequests;
};

}  // namespace zv::sim
