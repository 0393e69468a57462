#pragma once

#include "platform/status.h"

#include <cstdint>
#include <functional>
#include <span>

namespace zv {

// Where a still frame goes: called on the streaming thread that delivers the still pin's
// samples, with the frame's bytes, which stay valid only for the call. Whatever it answers, the
// grabber goes on delivering.
using StillFrameSink =
    std::function<Status(double sampleTime, std::span<const std::uint8_t> frame)>;

}  // namespace zv
