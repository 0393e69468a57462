#pragma once

#include "app/scan_options.h"

#include <memory>

namespace zv {

class CBrasquelDlg;
namespace devices {
class DeviceBackend;
}

// `zevuvora scan`: the scanner window's own flow without a display. Connects the scanner
// through the window's discovery, applies film type, film size, resolution and save folder
// through the window's handlers, then presses Scan once per frame, each time waiting for that
// frame's outcome. Prints each saved file's path on standard output and every failure on
// standard error. GUI thread (the toolkit must exist).
class ScanCommand {
public:
    ScanCommand(ScanOptions options, std::shared_ptr<devices::DeviceBackend> devices);

    // 0 every frame saved, 1 a frame failed or timed out, 2 no scanner found.
    int Run();

private:
    void ApplySettings(CBrasquelDlg& window) const;
    // Presses Scan and waits for the outcome; true when the frame was saved.
    bool ScanOne(CBrasquelDlg& window, int number) const;

    const ScanOptions m_options;
    const std::shared_ptr<devices::DeviceBackend> m_devices;
};

}  // namespace zv
