#include "platform/v4l2/v4l2_ks_topology.h"

#include "platform/devices/ks_property.h"
#include "platform/v4l2/v4l2_io.h"
#include "platform/v4l2/v4l2_status.h"

#include <algorithm>
#include <linux/usb/video.h>
#include <linux/uvcvideo.h>
#include <utility>

namespace zv::v4l2 {

namespace {

using devices::kKsPropertyTypeBasicSupport;
using devices::kKsPropertyTypeGet;
using devices::kKsPropertyTypeSet;
using devices::kKsPropertyTypeSetSupport;
using devices::kKsPropertyTypeTopology;

// UVC_GET_INFO bits.
constexpr std::uint8_t kInfoGetSupported = 0x01;
constexpr std::uint8_t kInfoSetSupported = 0x02;
// Size of a basic-support answer: the access flags as a 32-bit value.
constexpr std::uint32_t kAccessSize = 4;
// Selectors are one byte on the wire.
constexpr std::uint32_t kMaxSelector = 0xFF;

}  // namespace

V4l2KsTopology::V4l2KsTopology(V4l2Io& io, int fd, std::vector<UvcEntity> entities)
    : m_io(io), m_fd(fd), m_entities(std::move(entities)) {}

Status V4l2KsTopology::GetNumNodes(std::uint32_t* count) {
    if (count == nullptr) {
        return kPointer;
    }
    *count = static_cast<std::uint32_t>(m_entities.size());
    return kOk;
}

Status V4l2KsTopology::GetNodeType(std::uint32_t node, Guid* type) {
    if (type == nullptr) {
        return kPointer;
    }
    if (node >= m_entities.size()) {
        return kInvalidArg;
    }
    switch (m_entities[node].kind) {
        case UvcEntityKind::kCameraTerminal:
            *type = devices::kKsNodeTypeVideoCameraTerminal;
            break;
        case UvcEntityKind::kProcessingUnit:
            *type = devices::kKsNodeTypeVideoProcessing;
            break;
        case UvcEntityKind::kExtensionUnit:
            *type = devices::kKsNodeTypeDevSpecific;
            break;
    }
    return kOk;
}

Status V4l2KsTopology::KsProperty(const devices::KsNodeProperty& request,
                                  std::span<std::uint8_t> data, std::uint32_t* bytesReturned) {
    if (bytesReturned == nullptr) {
        return kPointer;
    }
    *bytesReturned = 0;
    if ((request.flags & kKsPropertyTypeTopology) == 0) {
        return devices::kSetNotFound;
    }
    if (request.nodeId >= m_entities.size()) {
        return kNotFound;
    }
    const UvcEntity& unit = m_entities[request.nodeId];
    if (unit.kind != UvcEntityKind::kExtensionUnit ||
        GuidDescriptorBytes(request.set) != unit.guid) {
        return devices::kSetNotFound;
    }
    return AnswerUnit(unit, request, data, bytesReturned);
}

Status V4l2KsTopology::AnswerUnit(const UvcEntity& unit, const devices::KsNodeProperty& request,
                                  std::span<std::uint8_t> data, std::uint32_t* bytesReturned) {
    const std::uint32_t kind = request.flags & ~kKsPropertyTypeTopology;
    if (kind == kKsPropertyTypeSetSupport) {
        return kOk;
    }
    if (request.id == 0) {
        return UnitInformation(unit, kind, data, bytesReturned);
    }
    if (request.id > kMaxSelector) {
        return kNotFound;
    }
    const auto selector = static_cast<std::uint8_t>(request.id);
    switch (kind) {
        case kKsPropertyTypeBasicSupport:
            return BasicSupport(unit, selector, data, bytesReturned);
        case kKsPropertyTypeGet:
            return Read(unit, selector, data, bytesReturned);
        case kKsPropertyTypeSet:
            return Write(unit, selector, data, bytesReturned);
        default:
            return kInvalidArg;
    }
}

Status V4l2KsTopology::UnitInformation(const UvcEntity& unit, std::uint32_t kind,
                                       std::span<std::uint8_t> data, std::uint32_t* bytesReturned) {
    if (kind != kKsPropertyTypeGet) {
        return kNotFound;
    }
    const auto size = static_cast<std::uint32_t>(unit.unitInformation.size());
    *bytesReturned = size;
    if (data.size() < size) {
        return kMoreData;
    }
    std::copy(unit.unitInformation.begin(), unit.unitInformation.end(), data.begin());
    return kOk;
}

Status V4l2KsTopology::BasicSupport(const UvcEntity& unit, std::uint8_t selector,
                                    std::span<std::uint8_t> data, std::uint32_t* bytesReturned) {
    std::uint8_t info = 0;
    if (const int error = Query(unit.id, selector, UVC_GET_INFO, &info, 1); error != 0) {
        return ExtensionUnitStatus(error);
    }
    std::uint32_t access = 0;
    if ((info & kInfoGetSupported) != 0) {
        access |= kKsPropertyTypeGet;
    }
    if ((info & kInfoSetSupported) != 0) {
        access |= kKsPropertyTypeSet;
    }
    *bytesReturned = kAccessSize;
    if (data.size() < kAccessSize) {
        return kMoreData;
    }
    for (std::uint32_t i = 0; i < kAccessSize; ++i) {
        data[i] = static_cast<std::uint8_t>(access >> (8 * i));
    }
    return kOk;
}

Status V4l2KsTopology::Length(const UvcEntity& unit, std::uint8_t selector, std::uint16_t* length) {
    const auto key = std::make_pair(unit.id, selector);
    if (const auto found = m_lengths.find(key); found != m_lengths.end()) {
        *length = found->second;
        return kOk;
    }
    std::uint8_t bytes[2] = {};
    if (const int error = Query(unit.id, selector, UVC_GET_LEN, bytes, 2); error != 0) {
        return ExtensionUnitStatus(error);
    }
    *length = static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
    m_lengths[key] = *length;
    return kOk;
}

Status V4l2KsTopology::Read(const UvcEntity& unit, std::uint8_t selector,
                            std::span<std::uint8_t> data, std::uint32_t* bytesReturned) {
    std::uint16_t length = 0;
    if (const Status status = Length(unit, selector, &length); Failed(status)) {
        return status;
    }
    if (length == 0) {
        return kNotFound;
    }
    // The size probe (no buffer) and a buffer too short learn the size the value needs.
    if (data.size() < length) {
        *bytesReturned = length;
        return kMoreData;
    }
    std::vector<std::uint8_t> value(length);
    if (const int error = Query(unit.id, selector, UVC_GET_CUR, value.data(), length); error != 0) {
        return ExtensionUnitStatus(error);
    }
    std::copy(value.begin(), value.end(), data.begin());
    *bytesReturned = length;
    return kOk;
}

Status V4l2KsTopology::Write(const UvcEntity& unit, std::uint8_t selector,
                             std::span<std::uint8_t> data, std::uint32_t* bytesReturned) {
    std::uint16_t length = 0;
    if (const Status status = Length(unit, selector, &length); Failed(status)) {
        return status;
    }
    if (length == 0) {
        return kNotFound;
    }
    if (data.size() < length) {
        *bytesReturned = length;
        return kInsufficientBuffer;
    }
    // The driver takes exactly the selector's length; a longer buffer sends its first bytes.
    std::vector<std::uint8_t> value(data.begin(), data.begin() + length);
    return ExtensionUnitStatus(Query(unit.id, selector, UVC_SET_CUR, value.data(), length));
}

int V4l2KsTopology::Query(std::uint8_t unit, std::uint8_t selector, std::uint8_t query,
                          std::uint8_t* data, std::uint16_t size) {
    uvc_xu_control_query request{};
    request.unit = unit;
    request.selector = selector;
    request.query = query;
    request.size = size;
    request.data = data;
    return m_io.Ioctl(m_fd, UVCIOC_CTRL_QUERY, &request);
}

}  // namespace zv::v4l2
