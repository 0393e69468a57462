#pragma once

#include <cstdint>
#include <optional>

namespace zv {

// The rows of a still frame that make up the output picture: the full width of the frame and the
// middle part of its height, cut to the target's aspect ratio. A square frame is used whole. When
// the frame is wider than the target's shape the band reaches above and below the frame (negative
// y); those rows have no pixels of the frame.
struct SourceBand {
    std::int32_t y = 0;
    std::int32_t height = 0;

    // Integer arithmetic, each division truncating toward zero:
    //   offset = (sourceHeight - sourceWidth * targetHeight / targetWidth) / 2.
    // The product is formed in 64 bits so that no size overflows; a band that does not fit in 32
    // bits, a negative source size or a target that is not positive has no band (nullopt).
    static std::optional<SourceBand> Of(std::int32_t sourceWidth, std::int32_t sourceHeight,
                                        std::int32_t targetWidth, std::int32_t targetHeight);

    bool operator==(const SourceBand&) const = default;
};

}  // namespace zv
