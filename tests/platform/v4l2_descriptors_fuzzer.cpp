// libFuzzer target of the USB descriptor walk (ParseUvcDescriptors): arbitrary bytes as the sysfs
// "descriptors" file, the first two input bytes choosing the interface and configuration asked
// for. Beyond not crashing or reading out of bounds (AddressSanitizer), every entity it returns
// must be consistent with the bytes it came from.

#include "platform/v4l2/uvc_descriptors.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::span<const std::uint8_t> bytes(data + 2, size - 2);
    const zv::v4l2::UvcDescriptors parsed =
        zv::v4l2::ParseUvcDescriptors(bytes, data[0] & 0x03, data[1] & 0x03);
    Check(parsed.found || parsed.entities.empty());
    for (const zv::v4l2::UvcEntity& entity : parsed.entities) {
        // Nothing longer than one descriptor can hold.
        Check(entity.controls.size() <= 255 && entity.sourceIds.size() <= 255);
        if (entity.kind != zv::v4l2::UvcEntityKind::kExtensionUnit) {
            Check(entity.unitInformation.empty());
            continue;
        }
        // The unit information starts with the GUID and ends where the descriptor ends.
        Check(entity.unitInformation.size() >= 16 && entity.unitInformation.size() <= 255 - 4);
        for (std::size_t i = 0; i < 16; ++i) {
            Check(entity.unitInformation[i] == entity.guid[i]);
        }
        if (entity.complete) {
            Check(entity.unitInformation.size() >=
                  16 + 2 + entity.sourceIds.size() + 1 + entity.controls.size() + 1);
        }
    }
    for (const zv::v4l2::UvcFrameSize& still : parsed.mjpegStillSizes) {
        Check(still.width > 0 && still.height > 0);
    }
    return 0;
}
