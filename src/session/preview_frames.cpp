#include "session/preview_frames.h"

#include "capture/capture_controller.h"
#include "session/scanner_session.h"

namespace zv {

SettleWatcher::FrameSource PreviewFramesOf(const ScannerSession& session) {
    return [&session]() -> std::shared_ptr<const media::LatestFrame> {
        const CaptureController* capture = session.Capture();
        return capture ? capture->PreviewFrames() : nullptr;
    };
}

}  // namespace zv
