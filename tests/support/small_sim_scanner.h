#pragma once

#include "platform/media/media_guids.h"
#include "platform/media/video_info.h"
#include "platform/sim/sim_scanner_config.h"

#include <chrono>

namespace zv::test {

// A simulated scanner with small frames, so that connecting and scanning stay quick: a 4:3 and a
// square preview, 4:3 stills for 135 and a square one for 126, previews every 10 ms.
inline sim::SimScannerConfig SmallSimScanner() {
    using media::kSubtypeMjpg;
    using media::MakeVideoInfoType;
    sim::SimScannerConfig config;
    config.captureFormats = {MakeVideoInfoType(kSubtypeMjpg, 320, 240),
                             MakeVideoInfoType(kSubtypeMjpg, 160, 160)};
    config.stillFormats = {MakeVideoInfoType(kSubtypeMjpg, 1200, 900),
                           MakeVideoInfoType(kSubtypeMjpg, 1600, 1200),
                           MakeVideoInfoType(kSubtypeMjpg, 600, 600)};
    config.previewInterval = std::chrono::milliseconds(10);
    config.intermediateWait = std::chrono::milliseconds(0);
    return config;
}

}  // namespace zv::test
