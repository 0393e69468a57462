#pragma once

#include "platform/v4l2/uvc_descriptors.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace zv::test {

// Walks `input` as the fuzz target does (the first two bytes choose the interface and the
// configuration asked for, the rest is the descriptors file) and checks that everything the walk
// returns is consistent with the bytes it came from. Shared by the fuzz target and the replay of
// its corpus in the test suite.
inline bool UvcDescriptorsConsistent(std::span<const std::uint8_t> input) {
    if (input.size() < 2) {
        return true;
    }
    const v4l2::UvcDescriptors parsed =
        v4l2::ParseUvcDescriptors(input.subspan(2), input[0] & 0x03, input[1] & 0x03);
    if (!parsed.found && !parsed.entities.empty()) {
        return false;
    }
    for (const v4l2::UvcEntity& entity : parsed.entities) {
        // Nothing longer than one descriptor can hold.
        if (entity.controls.size() > 255 || entity.sourceIds.size() > 255) {
            return false;
        }
        if (entity.kind != v4l2::UvcEntityKind::kExtensionUnit) {
            if (!entity.unitInformation.empty()) {
                return false;
            }
            continue;
        }
        // The unit information starts with the GUID and ends where the descriptor ends.
        if (entity.unitInformation.size() < 16 || entity.unitInformation.size() > 255 - 4) {
            return false;
        }
        for (std::size_t i = 0; i < 16; ++i) {
            if (entity.unitInformation[i] != entity.guid[i]) {
                return false;
            }
        }
        if (entity.complete && entity.unitInformation.size() < 16 + 2 + entity.sourceIds.size() +
                                                                   1 + entity.controls.size() + 1) {
            return false;
        }
    }
    for (const v4l2::UvcFrameSize& still : parsed.mjpegStillSizes) {
        if (still.width == 0 || still.height == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace zv::test
