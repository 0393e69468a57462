#pragma once

#include <algorithm>

namespace zv::v4l2 {

// The timing rules of a device stream. A plain value, any thread.
struct V4l2StreamTiming {
    // Frames dropped after every (re)start of a stream: many devices send the first frames
    // half-exposed or cut while their sensor settles. Two frames: about 70 ms at 30 frames/s.
    int framesSkippedAfterStart = 2;
    // A stream that delivers nothing for this many frame intervals, and never for less than
    // the minimum, is restarted.
    int stallFrames = 10;
    int minStallMs = 1000;
    // A still that has not arrived this long after its trigger is given up and the preview
    // resumes (the window gives up on it after 2000 ms).
    int stillTimeoutMs = 3000;

    // How long to wait for a frame of a stream with this frame interval.
    int StallTimeoutMs(int frameIntervalMs) const {
        return std::max(minStallMs, stallFrames * std::max(frameIntervalMs, 1));
    }
};

}  // namespace zv::v4l2
