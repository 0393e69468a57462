#pragma once

#include "platform/guid.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// The parts of a USB video device's configuration descriptors (the sysfs "descriptors" file:
// the device descriptor followed by the raw configuration descriptors) that the backend needs:
// the entities of one VideoControl interface (camera terminals, processing units and extension
// units, in descriptor order) and the still image sizes its streaming interfaces declare for
// their MJPEG formats. The walk goes descriptor by descriptor by bLength and stops at the first
// one whose bLength is below 2 or reaches past the end; a class-specific descriptor too short
// for its fixed fields is skipped, and one cut short after them keeps what it holds.
// Plain values and functions, any thread.
namespace zv::v4l2 {

enum class UvcEntityKind { kCameraTerminal, kProcessingUnit, kExtensionUnit };

struct UvcEntity {
    UvcEntityKind kind = UvcEntityKind::kCameraTerminal;
    std::uint8_t id = 0;
    // Extension units: guidExtensionCode as the descriptor holds it.
    std::array<std::uint8_t, 16> guid{};
    // Extension units: the descriptor from guidExtensionCode up to its bLength, the layout in
    // which the unit answers its unit information.
    std::vector<std::uint8_t> unitInformation;
    // Extension units: bNumControls and baSourceID.
    std::uint8_t numControls = 0;
    std::vector<std::uint8_t> sourceIds;
    // bmControls (bControlSize bytes, as far as the descriptor holds them).
    std::vector<std::uint8_t> controls;
    // Whether bLength covered every field the descriptor declares.
    bool complete = false;
};

struct UvcFrameSize {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    friend constexpr bool operator==(const UvcFrameSize&, const UvcFrameSize&) = default;
};

struct UvcDescriptors {
    // The VideoControl interface of the requested number was found.
    bool found = false;
    // The walk ended early at a malformed descriptor.
    bool truncated = false;
    std::vector<UvcEntity> entities;
    // Still image frame sizes declared for MJPEG formats, in descriptor order, without repeats.
    std::vector<UvcFrameSize> mjpegStillSizes;
};

// Parses the descriptors of the VideoControl interface `interfaceNumber` of the configuration
// whose bConfigurationValue is `configurationValue` (0: the first configuration listed).
UvcDescriptors ParseUvcDescriptors(std::span<const std::uint8_t> bytes, int interfaceNumber,
                                   int configurationValue = 0);

// A GUID in the byte order descriptors hold it: the first three fields least significant byte
// first, then the eight bytes.
std::array<std::uint8_t, 16> GuidDescriptorBytes(const Guid& guid);

}  // namespace zv::v4l2
