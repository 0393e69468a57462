#pragma once

#include "capture/settle_watcher.h"

namespace zv {

class ScannerSession;

// The preview pictures of `session`'s running capture (null while none runs), for a settle
// watcher. `session` outlives the source.
SettleWatcher::FrameSource PreviewFramesOf(const ScannerSession& session);

}  // namespace zv
