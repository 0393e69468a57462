#pragma once

#include "platform/media/media_sample.h"
#include "platform/media/media_type.h"
#include "platform/status.h"

#include <chrono>
#include <functional>
#include <vector>

namespace zv::sim {

enum class SimPinKind { kCapture, kStill };

// Capture pin formats of the simulated scanner: 1280x960, 640x480, 720x720 (MJPG, VideoInfo).
std::vector<media::MediaType> DefaultCaptureFormats();
// Still pin formats: 5184x3888, 3000x3000 (MJPG, VideoInfo).
std::vector<media::MediaType> DefaultStillFormats();

// Everything about the simulated scanner that differs between real devices and situations.
// Read by the filter; fixed once the filter is made.
struct SimScannerConfig {
    // Capability lists in the order the device reports them, and the index of the format each
    // pin has before anyone sets one (an empty list gives the pin a 640x480 MJPG format).
    std::vector<media::MediaType> captureFormats = DefaultCaptureFormats();
    std::vector<media::MediaType> stillFormats = DefaultStillFormats();
    int captureFormatIndex = 0;
    int stillFormatIndex = 0;
    // A device without a still pin.
    bool hasStillPin = true;

    // What running the filter answers: kOk, or a busy device's code (0x80070020, 0x800705AA).
    Status runResult = kOk;
    // False: Run answers kFalse and the filter never gets to running (no samples flow);
    // GetState answers kStateIntermediate after waiting the caller's time-out, but at most
    // `intermediateWait`.
    bool reachesRunning = true;
    std::chrono::milliseconds intermediateWait{100};

    // Time between preview frames (about 15 frames a second).
    std::chrono::milliseconds previewInterval{66};
    // Still samples per trigger: 1 normally, 0 never, 2 twice.
    int stillsPerTrigger = 1;
    // Wait before each still sample is delivered (a slow device).
    std::chrono::milliseconds stillDelay{0};
    // Still samples cut to half their length (a JPEG without its end).
    bool corruptStills = false;
    int jpegQuality = 85;
    // The film moves on to its next frame by itself this often (zero: only by hand, through
    // SimScannerFilter::Film()).
    std::chrono::milliseconds filmAdvanceInterval{0};

    // Called on the streaming thread after each sample was delivered downstream.
    std::function<void(SimPinKind, const media::MediaSample&)> sampleObserver;
};

}  // namespace zv::sim
