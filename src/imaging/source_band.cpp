#include "imaging/source_band.h"

#include <limits>

namespace zv {

std::optional<SourceBand> SourceBand::Of(std::int32_t sourceWidth, std::int32_t sourceHeight,
                                         std::int32_t targetWidth, std::int32_t targetHeight) {
    if (sourceWidth < 0 || sourceHeight < 0 || targetWidth <= 0 || targetHeight <= 0) {
        return std::nullopt;
    }
    if (sourceWidth == sourceHeight) {
        return SourceBand{0, sourceHeight};
    }
    const std::int64_t bandHeight =
        std::int64_t{sourceWidth} * std::int64_t{targetHeight} / std::int64_t{targetWidth};
    const std::int64_t offset = (std::int64_t{sourceHeight} - bandHeight) / 2;
    const std::int64_t height = std::int64_t{sourceHeight} - 2 * offset;
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    if (offset < kMin || offset > kMax || height > kMax) {
        return std::nullopt;
    }
    return SourceBand{static_cast<std::int32_t>(offset), static_cast<std::int32_t>(height)};
}

}  // namespace zv
