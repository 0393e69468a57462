#pragma once

#include "app/frame_ledger.h"
#include "app/frame_wait.h"
#include "app/scan_options.h"
#include "platform/status.h"

#include <memory>

namespace zv {

class ScannerSession;
struct SavedChoices;
namespace devices {
class DeviceBackend;
}

// `zevuvora scan`: the window's flow without a window, on a scanner session of its own. Checks
// the output folder, gives the session the save folder, film size and resolution, connects the
// scanner through the session's discovery, applies the film type after every (re)connection
// (which begins from Negative), then scans once per frame (after the wait --wait asks for) and
// waits for that frame's picture. Prints each saved file's path on standard output, late ones
// included, and every failure in words on standard error. GUI thread (the toolkit must exist).
class ScanCommand {
public:
    ScanCommand(ScanOptions options, std::shared_ptr<devices::DeviceBackend> devices);

    // 0 every frame saved, 1 a frame failed, timed out or was not scanned (the scanner went away,
    // standard input ended), 2 the output folder cannot be used or no scanner was found.
    int Run();
    // Where --wait enter reads its lines (standard input by default) and whether progress goes
    // to standard error (by default when it is a terminal).
    void SetConsole(int inputFd, bool progress);

private:
    // Whether --out can take the files; false after saying why.
    bool CheckOutputFolder() const;
    // What the session tells that the command reports.
    void FollowSession(ScannerSession& session);
    // The connection and the frames; the exit status.
    int Scan(ScannerSession& session);
    // The first connection, with the session's identification retries; false after saying what
    // was found instead.
    bool Connect(const ScannerSession& session);
    // Save folder, film size and resolution as the options ask.
    SavedChoices Choices(const ScannerSession& session) const;
    // After a (re)connection: the film type asked for, and the choices again.
    void ApplySettings(ScannerSession& session);
    // The scanner present (waited for within the time-out after a removal), the settings applied
    // after a (re)connection, a still pin there. False ends the run: no frame from `frame` on
    // can be scanned.
    bool PrepareFrame(ScannerSession& session, int frame);
    // The frame's wait and its preparation, in the order the wait needs: the preview is watched
    // with the scanner there, and a line or a time is waited for before looking for it. False
    // ends the run.
    bool WaitAndPrepare(ScannerSession& session, int frame);
    // Asks for the frame's still and waits for its outcome, its removal, or its time-out (a
    // picture that has arrived by then is waited for while it is written).
    void ScanFrame(ScannerSession& session, int frame);
    void OnSaveFinished(const ScannerSession& session, Status result, const QString& path);
    void OnConnectionChanged(bool connected);
    void FailFrom(int frame);
    // The reason in words, with its status code under --verbose.
    QString Reason(Status result) const;

    const ScanOptions m_options;
    const std::shared_ptr<devices::DeviceBackend> m_devices;
    FrameLedger m_ledger;
    int m_inputFd;
    bool m_progress;
    // Made with the session, whose preview it may watch; gone before the session.
    std::unique_ptr<FrameWait> m_wait;
    // A (re)connection applied the Negative presets: the command's settings go on again.
    bool m_settingsStale = false;
    // --remember-settings: the choices have been stored.
    bool m_choicesStored = false;
};

}  // namespace zv
