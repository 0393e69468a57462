#pragma once

#include "app/frame_ledger.h"
#include "app/scan_options.h"
#include "platform/status.h"

#include <QDeadlineTimer>

#include <functional>
#include <memory>

namespace zv {

class CBrasquelDlg;
namespace devices {
class DeviceBackend;
}

// `zevuvora scan`: the scanner window's own flow without a display. Checks the output folder,
// connects the scanner through the window's discovery, applies film type, film size, resolution
// and save folder through the window's handlers (again after every reconnection), then presses
// Scan once per frame and waits for that frame's picture. Prints each saved file's path on
// standard output, late ones included, and every failure in words on standard error.
// GUI thread (the toolkit must exist).
class ScanCommand {
public:
    ScanCommand(ScanOptions options, std::shared_ptr<devices::DeviceBackend> devices);

    // 0 every frame saved, 1 a frame failed, timed out or the scanner went away, 2 the output
    // folder cannot be used or no scanner was found.
    int Run();

private:
    // Whether --out can take the files; false after saying why.
    bool CheckOutputFolder() const;
    // The first connection, with the window's identification retries; false after saying what
    // was found instead.
    bool Connect(CBrasquelDlg& window);
    void ApplySettings(CBrasquelDlg& window) const;
    // The scanner present (waited for within the time-out after a removal), the settings applied
    // after a (re)connection, a still pin there. False ends the run: no frame from `frame` on
    // can be scanned.
    bool PrepareFrame(CBrasquelDlg& window, int frame);
    // Presses Scan and waits for the frame's outcome, its removal, or its time-out (a picture
    // that has arrived by then is waited for while it is written).
    void ScanFrame(CBrasquelDlg& window, int frame);
    void OnSaveFinished(const CBrasquelDlg& window, Status result, const QString& path);
    void OnConnectionChanged(bool connected);
    void FailFrom(int frame);
    // The reason in words, with its status code under --verbose.
    QString Reason(Status result) const;
    // Runs the event loop until `done` holds or `deadline` expires; true when `done` holds.
    static bool WaitFor(const std::function<bool()>& done, QDeadlineTimer deadline);

    const ScanOptions m_options;
    const std::shared_ptr<devices::DeviceBackend> m_devices;
    FrameLedger m_ledger;
    // A (re)connection applied the window's presets: the command's settings go on again.
    bool m_settingsStale = false;
};

}  // namespace zv
