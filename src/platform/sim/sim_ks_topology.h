#pragma once

#include "platform/devices/ks_control.h"
#include "platform/devices/ks_topology_info.h"
#include "platform/sim/sim_device_config.h"
#include "platform/sim/sim_device_log.h"

#include <atomic>
#include <map>
#include <vector>

namespace zv::sim {

// The topology of a simulated device and the answers of its nodes: camera terminal (node 0),
// processing unit (node 1) and one device-specific node per vendor extension unit. An extension
// unit answers the set-support request, its unit information in the layout of the extension unit
// descriptor, and basic-support, get and set requests per selector as configured, including
// the chip identification exchange. Every request is logged. Once the device is unplugged every
// call answers kDeviceNotConnected.
// GUI thread (the one that drives the device's filter).
class SimKsTopology : public devices::KsControl, public devices::KsTopologyInfo {
public:
    SimKsTopology(const SimDeviceConfig& config, SimDeviceLog& log,
                  const std::atomic<bool>& unplugged);

    Status KsProperty(const devices::KsNodeProperty& request, std::span<std::uint8_t> data,
                      std::uint32_t* bytesReturned) override;
    Status GetNumNodes(std::uint32_t* count) override;
    Status GetNodeType(std::uint32_t node, Guid* type) override;

    // The unit information a unit answers, in the descriptor layout.
    static std::vector<std::uint8_t> UnitInformation(const SimExtensionUnitConfig& unit);

    // Node number of the `index`th extension unit.
    static constexpr std::uint32_t kFirstUnitNode = 2;

private:
    struct Selector {
        SimSelectorConfig config;
        std::vector<std::uint8_t> value;
        int notReadyLeft = 0;
    };
    struct Unit {
        SimExtensionUnitConfig config;
        std::vector<std::uint8_t> info;
        std::map<std::uint32_t, Selector> selectors;
    };

    Status Answer(const devices::KsNodeProperty& request, std::span<std::uint8_t> data,
                  std::uint32_t* bytesReturned);
    Status AnswerUnit(Unit& unit, const devices::KsNodeProperty& request,
                      std::span<std::uint8_t> data, std::uint32_t* bytesReturned);
    Status Read(Selector& selector, std::span<std::uint8_t> data, std::uint32_t* bytesReturned);
    Status Write(Unit& unit, Selector& selector, std::span<const std::uint8_t> data);

    const Status m_numNodesResult;
    std::vector<Unit> m_units;
    SimDeviceLog& m_log;
    const std::atomic<bool>& m_unplugged;
};

}  // namespace zv::sim
