#pragma once

#include "app/scan_options.h"

#include <memory>

namespace zv {

class InputLines;
class ScannerSession;
class SettleWatcher;

// What `zevuvora scan` waits for before a frame, as --wait asks: the film come to rest in the
// preview (before every frame: the first is taken once the frame in place rests), a line on
// standard input, or a time after the frame before (both before every frame after the first).
// Nothing by default. None of the waits has a time-out of its own: a person may take minutes to
// move the film on. GUI thread.
class FrameWait {
public:
    enum class Result {
        kGo,           // scan the frame
        kScannerGone,  // the scanner left while the preview was watched: the frame waits for it
        kInputEnded,   // standard input ended: no frame from this one on is scanned
    };

    // `session` is the scan's session (its preview is watched; it outlives this wait); `inputFd`
    // the standard input, read only for --wait enter and only from its first wait on.
    FrameWait(FrameWaitOption option, const ScannerSession& session, int inputFd);
    ~FrameWait();
    FrameWait(const FrameWait&) = delete;
    FrameWait& operator=(const FrameWait&) = delete;

    // Whether the wait watches the preview: the scanner must be connected before it begins.
    bool WatchesPreview() const { return m_watcher != nullptr; }
    // Waits before `frame` (1-based) of `count`; with `prompt`, says on standard error what it
    // waits for.
    Result Before(int frame, int count, bool prompt);
    // The command applied its settings again: the new look of the same frame is no new frame.
    void SettingsApplied();

private:
    Result AwaitSettle();
    Result AwaitLine();

    const FrameWaitOption m_option;
    const ScannerSession& m_session;
    const int m_inputFd;
    std::unique_ptr<SettleWatcher> m_watcher;
    std::unique_ptr<InputLines> m_lines;
    // A picture settled that no frame has taken yet (it may settle while a frame is saved).
    bool m_settled = false;
};

}  // namespace zv
