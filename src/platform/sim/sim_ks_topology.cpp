#include "platform/sim/sim_ks_topology.h"

#include <algorithm>
#include <utility>

namespace zv::sim {

namespace {

using devices::kKsPropertyTypeBasicSupport;
using devices::kKsPropertyTypeGet;
using devices::kKsPropertyTypeSet;
using devices::kKsPropertyTypeSetSupport;
using devices::kKsPropertyTypeTopology;

// The GUID's bytes as they lie in memory on the wire: the three fields least significant byte
// first, then the eight bytes.
void AppendGuid(std::vector<std::uint8_t>& bytes, const Guid& guid) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(guid.data1 >> shift));
    }
    for (const std::uint16_t field : {guid.data2, guid.data3}) {
        bytes.push_back(static_cast<std::uint8_t>(field));
        bytes.push_back(static_cast<std::uint8_t>(field >> 8));
    }
    bytes.insert(bytes.end(), guid.data4.begin(), guid.data4.end());
}

std::vector<std::uint8_t> Resized(std::vector<std::uint8_t> bytes, std::size_t size) {
    bytes.resize(size, 0);
    return bytes;
}

}  // namespace

SimKsTopology::SimKsTopology(const SimDeviceConfig& config, SimDeviceLog& log,
                             const std::atomic<bool>& unplugged)
    : m_numNodesResult(config.numNodesResult), m_log(log), m_unplugged(unplugged) {
    for (const SimExtensionUnitConfig& unitConfig : config.extensionUnits) {
        Unit unit;
        unit.config = unitConfig;
        unit.info = UnitInformation(unitConfig);
        for (const SimSelectorConfig& selectorConfig : unitConfig.selectors) {
            Selector selector;
            selector.config = selectorConfig;
            selector.value = Resized(selectorConfig.value, selectorConfig.size);
            selector.notReadyLeft = selectorConfig.notReadyAnswers;
            unit.selectors[selectorConfig.number] = std::move(selector);
        }
        m_units.push_back(std::move(unit));
    }
}

std::vector<std::uint8_t> SimKsTopology::UnitInformation(const SimExtensionUnitConfig& unit) {
    if (unit.unitInfo.has_value()) {
        return *unit.unitInfo;
    }
    std::uint64_t bitmap = 0;
    if (unit.bitmap.has_value()) {
        bitmap = *unit.bitmap;
    } else {
        for (const SimSelectorConfig& selector : unit.selectors) {
            if (selector.number >= 1 && selector.number <= 64) {
                bitmap |= std::uint64_t{1} << (selector.number - 1);
            }
        }
    }
    std::vector<std::uint8_t> info;
    AppendGuid(info, unit.extensionCode);
    info.push_back(unit.controlCount.value_or(static_cast<std::uint8_t>(unit.selectors.size())));
    info.push_back(static_cast<std::uint8_t>(unit.sourceIds.size()));
    info.insert(info.end(), unit.sourceIds.begin(), unit.sourceIds.end());
    info.push_back(unit.bitmapSize);
    for (std::uint8_t i = 0; i < unit.bitmapSize; ++i) {
        info.push_back(i < 8 ? static_cast<std::uint8_t>(bitmap >> (8 * i)) : 0);
    }
    info.push_back(0);  // no string describes the unit
    return info;
}

Status SimKsTopology::GetNumNodes(std::uint32_t* count) {
    if (count == nullptr) {
        return kPointer;
    }
    if (m_unplugged.load()) {
        return devices::kDeviceNotConnected;
    }
    if (Failed(m_numNodesResult)) {
        return m_numNodesResult;
    }
    *count = kFirstUnitNode + static_cast<std::uint32_t>(m_units.size());
    return kOk;
}

Status SimKsTopology::GetNodeType(std::uint32_t node, Guid* type) {
    if (type == nullptr) {
        return kPointer;
    }
    if (m_unplugged.load()) {
        return devices::kDeviceNotConnected;
    }
    if (node == 0) {
        *type = devices::kKsNodeTypeVideoCameraTerminal;
        return kOk;
    }
    if (node == 1) {
        *type = devices::kKsNodeTypeVideoProcessing;
        return kOk;
    }
    const std::size_t unit = node - kFirstUnitNode;
    if (unit >= m_units.size()) {
        return kInvalidArg;
    }
    if (Failed(m_units[unit].config.nodeTypeResult)) {
        return m_units[unit].config.nodeTypeResult;
    }
    *type = devices::kKsNodeTypeDevSpecific;
    return kOk;
}

Status SimKsTopology::KsProperty(const devices::KsNodeProperty& request,
                                 std::span<std::uint8_t> data, std::uint32_t* bytesReturned) {
    if (bytesReturned == nullptr) {
        return kPointer;
    }
    *bytesReturned = 0;
    SimKsRequest record;
    record.flags = request.flags;
    record.id = request.id;
    record.nodeId = request.nodeId;
    record.dataLength = static_cast<std::uint32_t>(data.size());
    if ((request.flags & kKsPropertyTypeSet) != 0) {
        record.sent.assign(data.begin(), data.end());
    }
    const Status status = Answer(request, data, bytesReturned);
    record.status = status;
    record.bytesReturned = *bytesReturned;
    m_log.AddKsRequest(std::move(record));
    return status;
}

Status SimKsTopology::Answer(const devices::KsNodeProperty& request, std::span<std::uint8_t> data,
                             std::uint32_t* bytesReturned) {
    if (m_unplugged.load()) {
        return devices::kDeviceNotConnected;
    }
    // The filter itself and the camera terminal and processing unit know no vendor set.
    if ((request.flags & kKsPropertyTypeTopology) == 0 || request.nodeId < kFirstUnitNode) {
        return devices::kSetNotFound;
    }
    const std::size_t unit = request.nodeId - kFirstUnitNode;
    if (unit >= m_units.size()) {
        return kNotFound;
    }
    if (request.set != m_units[unit].config.propertySet) {
        return devices::kSetNotFound;
    }
    return AnswerUnit(m_units[unit], request, data, bytesReturned);
}

Status SimKsTopology::AnswerUnit(Unit& unit, const devices::KsNodeProperty& request,
                                 std::span<std::uint8_t> data, std::uint32_t* bytesReturned) {
    const std::uint32_t kind = request.flags & ~kKsPropertyTypeTopology;
    if (kind == kKsPropertyTypeSetSupport) {
        return unit.config.setSupportResult;
    }
    if (request.id == 0) {
        if (kind != kKsPropertyTypeGet) {
            return kNotFound;
        }
        if (Failed(unit.config.unitInfoResult)) {
            return unit.config.unitInfoResult;
        }
        *bytesReturned = static_cast<std::uint32_t>(unit.info.size());
        if (data.size() < unit.info.size()) {
            return kMoreData;
        }
        std::copy(unit.info.begin(), unit.info.end(), data.begin());
        return kOk;
    }
    const auto found = unit.selectors.find(request.id);
    if (found == unit.selectors.end()) {
        return kNotFound;
    }
    Selector& selector = found->second;
    switch (kind) {
        case kKsPropertyTypeBasicSupport: {
            if (Failed(selector.config.basicSupportResult)) {
                return selector.config.basicSupportResult;
            }
            *bytesReturned = 4;
            if (data.size() < 4) {
                return kMoreData;
            }
            for (int i = 0; i < 4; ++i) {
                data[static_cast<std::size_t>(i)] =
                    static_cast<std::uint8_t>(selector.config.access >> (8 * i));
            }
            return kOk;
        }
        case kKsPropertyTypeGet:
            return Read(selector, data, bytesReturned);
        case kKsPropertyTypeSet:
            // A read-only selector answers a write as a selector it lacks.
            if ((selector.config.access & kKsPropertyTypeSet) == 0) {
                return kNotFound;
            }
            return Write(unit, selector, data);
        default:
            return kInvalidArg;
    }
}

Status SimKsTopology::Read(Selector& selector, std::span<std::uint8_t> data,
                           std::uint32_t* bytesReturned) {
    if (selector.notReadyLeft > 0) {
        --selector.notReadyLeft;
        return kNotReady;
    }
    if (data.size() < selector.value.size()) {
        if (Failed(selector.config.shortBufferResult)) {
            *bytesReturned = static_cast<std::uint32_t>(selector.value.size());
        }
        return selector.config.shortBufferResult;
    }
    if (Failed(selector.config.readResult)) {
        return selector.config.readResult;
    }
    std::copy(selector.value.begin(), selector.value.end(), data.begin());
    *bytesReturned = static_cast<std::uint32_t>(selector.value.size());
    return kOk;
}

Status SimKsTopology::Write(Unit& unit, Selector& selector, std::span<const std::uint8_t> data) {
    if (Failed(selector.config.writeResult)) {
        return selector.config.writeResult;
    }
    if (data.size() != selector.value.size()) {
        return kInvalidArg;
    }
    selector.value.assign(data.begin(), data.end());
    if (unit.config.answersIdentification &&
        selector.config.number == contract::kIdentifyWriteSelector) {
        const auto reply = unit.selectors.find(contract::kIdentifyReadSelector);
        if (reply != unit.selectors.end()) {
            // The chip takes as many bytes of the command as the selector is wide.
            const bool command =
                data.size() <= contract::kIdentifyCommand.size() &&
                std::equal(data.begin(), data.end(), contract::kIdentifyCommand.begin());
            Selector& answer = reply->second;
            answer.value = command ? Resized(unit.config.reply, answer.value.size())
                                   : std::vector<std::uint8_t>(answer.value.size(), 0);
        }
    }
    return kOk;
}

}  // namespace zv::sim
