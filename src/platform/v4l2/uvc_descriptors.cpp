#include "platform/v4l2/uvc_descriptors.h"

#include <algorithm>
#include <optional>

namespace zv::v4l2 {

namespace {

constexpr std::uint8_t kTypeConfiguration = 0x02;
constexpr std::uint8_t kTypeInterface = 0x04;
constexpr std::uint8_t kTypeClassInterface = 0x24;

constexpr std::uint8_t kClassVideo = 0x0E;
constexpr std::uint8_t kSubclassVideoControl = 0x01;
constexpr std::uint8_t kSubclassVideoStreaming = 0x02;

// VideoControl descriptor subtypes.
constexpr std::uint8_t kVcHeader = 0x01;
constexpr std::uint8_t kVcInputTerminal = 0x02;
constexpr std::uint8_t kVcProcessingUnit = 0x05;
constexpr std::uint8_t kVcExtensionUnit = 0x06;
constexpr std::uint16_t kTerminalCamera = 0x0201;

// VideoStreaming descriptor subtypes: formats start a run of frame and still descriptors.
constexpr std::uint8_t kVsStillImageFrame = 0x03;
constexpr std::uint8_t kVsFormatUncompressed = 0x04;
constexpr std::uint8_t kVsFormatMjpeg = 0x06;
constexpr std::uint8_t kVsFormatMpeg2Ts = 0x0A;
constexpr std::uint8_t kVsFormatDv = 0x0C;
constexpr std::uint8_t kVsFormatFrameBased = 0x10;
constexpr std::uint8_t kVsFormatStreamBased = 0x12;
constexpr std::uint8_t kVsFormatH264 = 0x13;

struct Interface {
    std::uint8_t number = 0;
    std::uint8_t alternate = 0;
    std::uint8_t interfaceClass = 0;
    std::uint8_t subclass = 0;
};

std::uint16_t Read16(std::span<const std::uint8_t> d, std::size_t offset) {
    return static_cast<std::uint16_t>(d[offset] | d[offset + 1] << 8);
}

// `count` bytes from `offset`, as many as the descriptor holds; `complete` cleared when cut.
std::vector<std::uint8_t> Field(std::span<const std::uint8_t> d, std::size_t offset,
                                std::size_t count, bool* complete) {
    if (offset >= d.size()) {
        *complete = *complete && count == 0;
        return {};
    }
    const std::size_t available = std::min(count, d.size() - offset);
    if (available < count) {
        *complete = false;
    }
    return {d.begin() + static_cast<std::ptrdiff_t>(offset),
            d.begin() + static_cast<std::ptrdiff_t>(offset + available)};
}

std::optional<UvcEntity> CameraTerminal(std::span<const std::uint8_t> d) {
    // bTerminalID at 3, wTerminalType at 4; bControlSize at 14, bmControls from 15.
    if (d.size() < 8 || Read16(d, 4) != kTerminalCamera) {
        return std::nullopt;
    }
    UvcEntity entity;
    entity.kind = UvcEntityKind::kCameraTerminal;
    entity.id = d[3];
    entity.complete = d.size() >= 15;
    if (d.size() >= 15) {
        entity.controls = Field(d, 15, d[14], &entity.complete);
    }
    return entity;
}

std::optional<UvcEntity> ProcessingUnit(std::span<const std::uint8_t> d) {
    // bUnitID at 3, bSourceID at 4, wMaxMultiplier at 5, bControlSize at 7, bmControls from 8.
    if (d.size() < 8) {
        return std::nullopt;
    }
    UvcEntity entity;
    entity.kind = UvcEntityKind::kProcessingUnit;
    entity.id = d[3];
    entity.sourceIds = {d[4]};
    entity.complete = true;
    entity.controls = Field(d, 8, d[7], &entity.complete);
    return entity;
}

std::optional<UvcEntity> ExtensionUnit(std::span<const std::uint8_t> d) {
    // bUnitID at 3, guidExtensionCode 4..19, bNumControls 20, bNrInPins (p) 21, baSourceID
    // 22..21+p, bControlSize (n) 22+p, bmControls 23+p..22+p+n, iExtension 23+p+n.
    constexpr std::size_t kGuidOffset = 4;
    if (d.size() < kGuidOffset + 16) {
        return std::nullopt;
    }
    UvcEntity entity;
    entity.kind = UvcEntityKind::kExtensionUnit;
    entity.id = d[3];
    std::copy_n(d.begin() + kGuidOffset, 16, entity.guid.begin());
    entity.unitInformation.assign(d.begin() + kGuidOffset, d.end());
    entity.complete = d.size() >= 22;
    if (d.size() < 22) {
        return entity;
    }
    entity.numControls = d[20];
    const std::size_t pins = d[21];
    entity.sourceIds = Field(d, 22, pins, &entity.complete);
    const std::size_t sizeOffset = 22 + pins;
    if (sizeOffset >= d.size()) {
        entity.complete = false;
        return entity;
    }
    const std::size_t controlSize = d[sizeOffset];
    entity.controls = Field(d, sizeOffset + 1, controlSize, &entity.complete);
    if (sizeOffset + 1 + controlSize >= d.size()) {
        entity.complete = false;  // no iExtension
    }
    return entity;
}

void StillSizes(std::span<const std::uint8_t> d, std::vector<UvcFrameSize>* sizes, bool* cut) {
    // bEndpointAddress at 3, bNumImageSizePatterns at 4, then width and height pairs.
    if (d.size() < 5) {
        *cut = true;
        return;
    }
    const std::size_t count = d[4];
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t offset = 5 + 4 * i;
        if (offset + 4 > d.size()) {
            *cut = true;
            return;
        }
        const UvcFrameSize size{Read16(d, offset), Read16(d, offset + 2)};
        if (size.width > 0 && size.height > 0 &&
            std::find(sizes->begin(), sizes->end(), size) == sizes->end()) {
            sizes->push_back(size);
        }
    }
}

bool IsFormat(std::uint8_t subtype) {
    switch (subtype) {
        case kVsFormatUncompressed:
        case kVsFormatMjpeg:
        case kVsFormatMpeg2Ts:
        case kVsFormatDv:
        case kVsFormatFrameBased:
        case kVsFormatStreamBased:
        case kVsFormatH264:
            return true;
        default:
            return false;
    }
}

class Walker {
public:
    Walker(int interfaceNumber, int configurationValue)
        : m_interfaceNumber(interfaceNumber), m_configurationValue(configurationValue) {}

    UvcDescriptors Walk(std::span<const std::uint8_t> bytes) {
        std::size_t pos = 0;
        while (pos + 2 <= bytes.size()) {
            const std::size_t length = bytes[pos];
            if (length < 2 || pos + length > bytes.size()) {
                m_result.truncated = true;
                break;
            }
            Visit(bytes.subspan(pos, length));
            pos += length;
        }
        if (pos < bytes.size() && pos + 2 > bytes.size()) {
            m_result.truncated = true;  // a lone byte after the last descriptor
        }
        for (const auto& [number, sizes] : m_stills) {
            if (m_streamingInterfaces.has_value() &&
                std::find(m_streamingInterfaces->begin(), m_streamingInterfaces->end(), number) ==
                    m_streamingInterfaces->end()) {
                continue;
            }
            for (const UvcFrameSize& size : sizes) {
                if (std::find(m_result.mjpegStillSizes.begin(), m_result.mjpegStillSizes.end(),
                              size) == m_result.mjpegStillSizes.end()) {
                    m_result.mjpegStillSizes.push_back(size);
                }
            }
        }
        return m_result;
    }

private:
    void Visit(std::span<const std::uint8_t> d) {
        switch (d[1]) {
            case kTypeConfiguration:
                ++m_configurationIndex;
                m_interface.reset();
                if (d.size() >= 6) {
                    m_inConfiguration = m_configurationValue == 0 ? m_configurationIndex == 0
                                                                  : d[5] == m_configurationValue;
                } else {
                    m_inConfiguration = false;
                }
                return;
            case kTypeInterface:
                m_interface.reset();
                m_mjpegFormat = false;
                if (d.size() >= 9) {
                    m_interface = Interface{d[2], d[3], d[5], d[6]};
                }
                return;
            case kTypeClassInterface:
                if (d.size() >= 3 && m_inConfiguration && m_interface.has_value() &&
                    m_interface->interfaceClass == kClassVideo && m_interface->alternate == 0) {
                    if (m_interface->subclass == kSubclassVideoControl &&
                        m_interface->number == m_interfaceNumber) {
                        m_result.found = true;
                        VisitControl(d);
                    } else if (m_interface->subclass == kSubclassVideoStreaming) {
                        VisitStreaming(d);
                    }
                }
                return;
            default:
                return;
        }
    }

    void VisitControl(std::span<const std::uint8_t> d) {
        std::optional<UvcEntity> entity;
        switch (d[2]) {
            case kVcHeader:
                // bInCollection at 11, baInterfaceNr from 12.
                if (d.size() >= 12) {
                    bool complete = true;
                    m_streamingInterfaces = Field(d, 12, d[11], &complete);
                }
                return;
            case kVcInputTerminal:
                entity = CameraTerminal(d);
                break;
            case kVcProcessingUnit:
                entity = ProcessingUnit(d);
                break;
            case kVcExtensionUnit:
                entity = ExtensionUnit(d);
                break;
            default:
                return;
        }
        if (entity.has_value()) {
            m_result.entities.push_back(std::move(*entity));
        }
    }

    void VisitStreaming(std::span<const std::uint8_t> d) {
        const std::uint8_t subtype = d[2];
        if (IsFormat(subtype)) {
            m_mjpegFormat = subtype == kVsFormatMjpeg;
        } else if (subtype == kVsStillImageFrame && m_mjpegFormat) {
            StillSizes(d, &StillsOf(m_interface->number), &m_result.truncated);
        }
    }

    std::vector<UvcFrameSize>& StillsOf(std::uint8_t number) {
        for (auto& [key, sizes] : m_stills) {
            if (key == number) {
                return sizes;
            }
        }
        return m_stills.emplace_back(number, std::vector<UvcFrameSize>{}).second;
    }

    const int m_interfaceNumber;
    const int m_configurationValue;
    int m_configurationIndex = -1;
    bool m_inConfiguration = false;
    std::optional<Interface> m_interface;
    bool m_mjpegFormat = false;
    std::optional<std::vector<std::uint8_t>> m_streamingInterfaces;
    // Still sizes per streaming interface number, in the order the interfaces came.
    std::vector<std::pair<std::uint8_t, std::vector<UvcFrameSize>>> m_stills;
    UvcDescriptors m_result;
};

}  // namespace

UvcDescriptors ParseUvcDescriptors(std::span<const std::uint8_t> bytes, int interfaceNumber,
                                   int configurationValue) {
    return Walker(interfaceNumber, configurationValue).Walk(bytes);
}

std::array<std::uint8_t, 16> GuidDescriptorBytes(const Guid& guid) {
    std::array<std::uint8_t, 16> bytes{};
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(guid.data1 >> (8 * i));
    }
    bytes[4] = static_cast<std::uint8_t>(guid.data2);
    bytes[5] = static_cast<std::uint8_t>(guid.data2 >> 8);
    bytes[6] = static_cast<std::uint8_t>(guid.data3);
    bytes[7] = static_cast<std::uint8_t>(guid.data3 >> 8);
    std::copy(guid.data4.begin(), guid.data4.end(), bytes.begin() + 8);
    return bytes;
}

}  // namespace zv::v4l2
