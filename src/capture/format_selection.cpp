#include "capture/format_selection.h"

#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"

#include <cstdio>
#include <optional>

namespace zv {
namespace {

bool Takes(const media::FrameSize& size, int filmSizeIndex, PinRole role) {
    switch (filmSizeIndex) {
        case kFilmSize135:
            if (size.width == size.height) {
                return false;
            }
            return role == PinRole::kCapture ? size.width < kPreviewStillWidthSplit
                                             : size.width > kPreviewStillWidthSplit;
        case kFilmSize126:
            return size.width == size.height;
        default:
            return false;
    }
}

}  // namespace

int SelectFormat(const FormatList& list, int filmSizeIndex, PinRole role) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        const media::MediaType* type = list[i].get();
        if (type == nullptr || type->FormatType() != media::kFormatVideoInfo) {
            continue;
        }
        const std::optional<media::VideoInfoFields> info = media::ReadVideoInfo(*type);
        if (!info.has_value()) {
            std::printf("[%d] not FORMAT_VideoInfo\n", static_cast<int>(i));
            std::fflush(stdout);
            continue;
        }
        if (Takes(info->size, filmSizeIndex, role)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace zv
