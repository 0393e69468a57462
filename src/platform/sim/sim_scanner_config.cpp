#include "platform/sim/sim_scanner_config.h"

#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"

namespace zv::sim {

std::vector<media::MediaType> DefaultCaptureFormats() {
    return {media::MakeVideoInfoType(media::kSubtypeMjpg, 1280, 960),
            media::MakeVideoInfoType(media::kSubtypeMjpg, 640, 480),
            media::MakeVideoInfoType(media::kSubtypeMjpg, 720, 720)};
}

std::vector<media::MediaType> DefaultStillFormats() {
    return {media::MakeVideoInfoType(media::kSubtypeMjpg, 5184, 3888),
            media::MakeVideoInfoType(media::kSubtypeMjpg, 3000, 3000)};
}

}  // namespace zv::sim
