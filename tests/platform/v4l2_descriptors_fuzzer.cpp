// libFuzzer target of the USB descriptor walk (ParseUvcDescriptors): arbitrary bytes as the sysfs
// "descriptors" file, the first two input bytes choosing the interface and configuration asked
// for. Beyond not crashing or reading out of bounds (AddressSanitizer), everything the walk
// returns must be consistent with the bytes it came from. Seeds: v4l2_descriptors_corpus/.

#include "platform/v4l2_descriptors_invariants.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!zv::test::UvcDescriptorsConsistent(std::span<const std::uint8_t>(data, size))) {
        std::abort();
    }
    return 0;
}
