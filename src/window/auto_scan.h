#pragma once

#include "capture/settle_watcher.h"

#include <QObject>

class QCheckBox;

namespace zv {

class CBrasquelDlg;

// The window's "Scan when the frame settles" check box and what it does. While it is checked, a
// new film frame come to rest in the preview presses Scan once, through the Scan button's own
// handler; the frame on screen when it is checked counts as scanned. A frame that settles while
// a Scan still waits for its picture is scanned once that Scan has ended, so no two Scans wait at
// once. A new film type or adjustment changes the picture but is no new frame. The box is enabled
// only while a scanner is connected, like the device controls. GUI thread.
class AutoScan : public QObject {
    Q_OBJECT

public:
    // Puts the check box into `window` above Scan; after the window's controls exist.
    explicit AutoScan(CBrasquelDlg& window);
    ~AutoScan() override;

    QCheckBox& CheckBox() const { return *m_checkBox; }
    // Shows the check box's text in the selected language.
    void ApplyLanguage();

private:
    void PlaceCheckBox();
    // Film type, adjustments and their presets: each change rebases the watcher.
    void FollowPictureSettings();
    void OnToggled(bool on);
    void OnSettled();
    // A Scan ended (saved, failed, timed out): a frame that settled meanwhile goes next, from the
    // event loop (the end may be reported from inside a capture stop).
    void OnScanEnded();
    void ScanPending();
    bool IsScanWaiting() const;

    CBrasquelDlg& m_window;
    // Owned by the window, like its other controls.
    QCheckBox* m_checkBox = nullptr;
    SettleWatcher m_watcher;
    // A frame settled while a Scan was waiting for its picture.
    bool m_pending = false;
};

}  // namespace zv
