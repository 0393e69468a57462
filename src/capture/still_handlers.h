#pragma once

#include "platform/status.h"

#include <cstdint>

namespace zv {

namespace media {
class MediaSample;
}

// The routines a still frame is handed to. Both run on the streaming thread that delivers the
// still pin's samples; `context` is whatever the owner of the capture put in the record.
using StillBufferHandler = Status (*)(void* context, double sampleTime, const std::uint8_t* buffer,
                                      std::int32_t length);
using StillSampleHandler = Status (*)(void* context, double sampleTime,
                                      const media::MediaSample& sample);

// Where still frames go: which grabber callback forwards them (0: the sample, 1: the buffer),
// the context passed first, and the two handlers (either may be empty).
struct CallbackRecord {
    int mode = 0;
    void* context = nullptr;
    StillBufferHandler bufferHandler = nullptr;
    StillSampleHandler sampleHandler = nullptr;
};

}  // namespace zv
