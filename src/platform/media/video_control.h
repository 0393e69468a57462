#pragma once

#include "platform/status.h"

#include <cstdint>

namespace zv::media {

class Pin;

// Video control mode flag that makes the still pin deliver one still sample.
inline constexpr std::int32_t kVideoControlFlagTrigger = 8;

// The device filter's video control: mode flags per pin, among them the still trigger
// (kVideoControlFlagTrigger, on the still pin). GUI thread.
class VideoControl {
public:
    virtual ~VideoControl() = default;

    // Flags the pin supports; kInvalidArg for a pin of another filter.
    virtual Status GetCaps(const Pin& pin, std::int32_t* flags) const = 0;
    // Sets the pin's mode; the trigger flag makes a running still pin deliver a still sample on
    // its own streaming thread. kNotRunning when the filter does not run, kInvalidArg for a
    // flag the pin does not support or a pin of another filter.
    virtual Status SetMode(const Pin& pin, std::int32_t mode) = 0;
    virtual Status GetMode(const Pin& pin, std::int32_t* mode) const = 0;
};

}  // namespace zv::media
