#pragma once

#include "platform/devices/ks_control.h"
#include "platform/devices/ks_topology_info.h"
#include "platform/v4l2/uvc_descriptors.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace zv::v4l2 {

class V4l2Io;

// Kernel-streaming-style access to the units of a real UVC device. The nodes are the device's
// camera terminals, processing units and extension units in descriptor order (from the USB
// descriptors in sysfs); an extension unit is a device-specific node. Requests to an extension
// unit under its own GUID (compared in the descriptor's byte order) become UVCIOC_CTRL_QUERY
// requests of the driver:
//   set support           -> answered from the descriptor (kOk)
//   get of selector 0     -> the unit information: the descriptor from its GUID on
//   basic support         -> UVC_GET_INFO; bit 0 is the read, bit 1 the write access flag
//   get without a buffer  -> UVC_GET_LEN, answered as kMoreData with the length as bytes returned
//   get, set              -> UVC_GET_CUR, UVC_SET_CUR with the selector's length
// Any other node or property set answers devices::kSetNotFound; errnos map as
// ExtensionUnitStatus says.
// GUI thread.
class V4l2KsTopology : public devices::KsControl, public devices::KsTopologyInfo {
public:
    V4l2KsTopology(V4l2Io& io, int fd, std::vector<UvcEntity> entities);

    Status KsProperty(const devices::KsNodeProperty& request, std::span<std::uint8_t> data,
                      std::uint32_t* bytesReturned) override;
    Status GetNumNodes(std::uint32_t* count) override;
    Status GetNodeType(std::uint32_t node, Guid* type) override;

private:
    Status AnswerUnit(const UvcEntity& unit, const devices::KsNodeProperty& request,
                      std::span<std::uint8_t> data, std::uint32_t* bytesReturned);
    Status UnitInformation(const UvcEntity& unit, std::uint32_t kind, std::span<std::uint8_t> data,
                           std::uint32_t* bytesReturned);
    Status BasicSupport(const UvcEntity& unit, std::uint8_t selector, std::span<std::uint8_t> data,
                        std::uint32_t* bytesReturned);
    Status Read(const UvcEntity& unit, std::uint8_t selector, std::span<std::uint8_t> data,
                std::uint32_t* bytesReturned);
    Status Write(const UvcEntity& unit, std::uint8_t selector, std::span<std::uint8_t> data,
                 std::uint32_t* bytesReturned);
    // The selector's value length (UVC_GET_LEN), asked once per selector.
    Status Length(const UvcEntity& unit, std::uint8_t selector, std::uint16_t* length);
    // One UVCIOC_CTRL_QUERY; the errno.
    int Query(std::uint8_t unit, std::uint8_t selector, std::uint8_t query, std::uint8_t* data,
              std::uint16_t size);

    V4l2Io& m_io;
    const int m_fd;
    const std::vector<UvcEntity> m_entities;
    // Value lengths learnt, by unit id and selector.
    std::map<std::pair<std::uint8_t, std::uint8_t>, std::uint16_t> m_lengths;
};

}  // namespace zv::v4l2
