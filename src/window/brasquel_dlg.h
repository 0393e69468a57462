#pragma once

#include "capture/graph_object_factory.h"
#include "capture/still_format.h"
#include "device/adjustment_change.h"
#include "device/discovery_report.h"
#include "device/probe_pause.h"
#include "platform/status.h"
#include "resources/control_ids.h"
#include "session/failure_reason.h"
#include "session/save_settings.h"
#include "session/scanner_session.h"
#include "settings/persistent_choices.h"
#include "window/adjustment_binder.h"
#include "window/control_table.h"
#include "window/wait_cursor.h"

#include <QDialog>
#include <QIcon>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

class QComboBox;

namespace zv {

class AutoScan;
class CropFrameOverlay;
class CXLabel;
class LastScansStrip;
class VideoWidget;
namespace devices {
class DeviceBackend;
struct DeviceChangeEvent;
}  // namespace devices
namespace media {
class Filter;
class MediaType;
}  // namespace media

// The scanner window: its widgets, their handlers and what they show. The scanner itself (its
// connection, capture, saves, count and time-out) is the session's; the handlers forward to it and
// the window follows the session's signals. Everything here runs on the GUI thread.
class CBrasquelDlg : public QDialog {
    Q_OBJECT

public:
    explicit CBrasquelDlg(QWidget* parent = nullptr);
    ~CBrasquelDlg() override;

    // Initialises the window and runs it modally until it ends; returns the dialog's result.
    int DoModal();
    // Builds the controls, exchanges the values into them, enables, configures the labels and
    // connects what is present. Called once, before the window is shown.
    bool OnInitDialog();

    // Dialog data exchange: controls -> values (save) or values -> controls.
    void UpdateData(bool save);

    // The close sequence; every way of ending the window runs it, once.
    void OnClose();

    // Scan: takes the folder typed into the folder field, asks the scanner for one still frame
    // and arms the 2000 ms time-out.
    void OnScan();
    // The time-out expired before a frame was saved: shows the would-be count in red.
    void OnTimer();
    // The still-frame sink, on the streaming thread that delivers the frame. Writes the file
    // there; the count and the status line follow on the GUI thread.
    Status SaveStillFrame(double sampleTime, std::span<const std::uint8_t> frame);
    // Status kinds: 0 clears the line (and its details), 1 image saved (blue), 2 failed or timed
    // out (red).
    void ShowStatus(int kind, int textId);
    // The status line's details, in words: its tooltip and accessible description.
    QString StatusDetail() const;
    // Applies, in order, the outcome of every save that has finished. GUI thread.
    void ApplySaveOutcomes();
    // Still frames that have arrived from the scanner and whose outcome has not been applied
    // yet: they are being written, or their outcome is on its way to this thread.
    int StillsInProgress() const { return m_session->StillsInProgress(); }
    // The device system discovery and device changes go through; set before OnInitDialog. Without
    // one the window stays in its no-device state. `pause` is the extension unit's probe pause.
    void SetDeviceBackend(std::shared_ptr<devices::DeviceBackend> devices,
                          ProbePause pause = SleepProbePause);
    // Connects `filter` as the scanner: no-device state left, adjustments from the Negative
    // presets, capture started. Any earlier connection is torn down first.
    void ConnectScanner(std::shared_ptr<media::Filter> filter);
    // Back to the no-device state: scan time-out dropped, capture stopped, scanner released.
    void DisconnectScanner();
    // A click on Slide, Negative or Black&White (by control id), under one wait cursor. While
    // another program holds the scanner the film type stays and the window says the device is
    // locked (the box comes last: nothing runs after its event loop).
    void OnFilmTypeClicked(int id);
    // Arrival and removal of capture devices, delivered on this window's thread.
    void OnDeviceChange(const devices::DeviceChangeEvent& event);
    const QString& ConnectedDevicePath() const { return m_session->ConnectedDevicePath(); }
    // The devices the last discovery without result passed over, and why.
    const DiscoveryReport& LastDiscovery() const { return m_session->LastDiscovery(); }
    // Whether discovery will be tried again for a scanner that did not identify itself yet.
    bool IsIdentifyRetryPending() const { return m_session->IsIdentifyRetryPending(); }

    // Puts the scanner on screen: a new capture controller, the pins' formats for the film size,
    // the graph, the preview, the run, the still format. Does nothing without a scanner filter.
    Status StartCapture();
    // Fits the preview video into the preview area (show) or hides it again (hide); kFail
    // without a capture graph, or (show) without a readable capture format.
    Status PlacePreview(bool show);
    // Stops the graph, applies the outcomes of saves that finished, dismantles and destroys the
    // capture controller. Safe without one.
    void StopCapture();
    // The connected scanner's capture filter and its device path (empty filter: none).
    void SetScannerFilter(std::shared_ptr<media::Filter> filter, QString devicePath);
    const std::shared_ptr<media::Filter>& ScannerFilter() const {
        return m_session->ScannerFilter();
    }
    CaptureController* Capture() const { return m_session->Capture(); }
    // Whether a live picture has been drawn in the preview area since capture started.
    bool HasPreviewPicture() const;
    // Whether the running capture has a still pin to take a picture from.
    bool HasStillPin() const;
    // The still size a 135 frame is enlarged from when the scanner offers no still wider than
    // the preview formats (the still pin then keeps a preview-sized format); nothing otherwise.
    std::optional<QSize> EnlargedFrom() const;
    // What capture graphs are built from (tests: failing or observing factories).
    void SetGraphObjectFactory(GraphObjectFactory objects) {
        m_session->SetGraphObjectFactory(std::move(objects));
    }
    // Where errors go instead of a message box (a window run without one, as in tests).
    void SetErrorReporter(std::function<void(const QString&)> report) {
        m_reportError = std::move(report);
    }

    // Shows every language-dependent text in the selected language and clears the status line.
    void ApplyLanguage();
    void OnLanguageChanged();
    // Rebuilds the capture for the new film size and relabels the resolution radios.
    void OnFilmSizeChanged();
    void OnResolutionChanged();
    // Takes the folder typed into the folder field and opens it in the desktop's file manager.
    void OnOpenSaveFolder();
    // Lets the user choose the save folder, starting at the current one.
    void OnChooseSaveFolder();
    // How folders are chosen and opened (tests replace the desktop's dialogs). The chooser gets
    // the folder to start at and answers the chosen folder, or an empty text when cancelled.
    void SetFolderChooser(std::function<QString(const QString& start)> choose) {
        m_chooseFolder = std::move(choose);
    }
    void SetFolderOpener(std::function<void(const QString& folder)> open) {
        m_openFolder = std::move(open);
    }

    // Takes the save folder, film size and resolution kept from an earlier run (what is missing
    // or gone stays at its default); before OnInitDialog.
    void RestoreChoices(const PersistentChoices& choices);
    // Where the save folder, film size and resolution go when the user changes them; without a
    // store they are not kept.
    void SetChoiceStore(std::shared_ptr<PersistentChoices> store) {
        m_choiceStore = std::move(store);
    }

    // Hands the window's choices (folder, film size, resolution) to the session, which gives
    // the saves one consistent snapshot of them with the film type and adjustments in effect.
    void PublishSaveSettings();

    const ControlTable& Controls() const { return *m_controls; }
    ControlTable& Controls() { return *m_controls; }
    QString SaveFolder() const { return m_saveFolder; }
    int FilmSizeIndex() const { return m_filmSizeIndex; }
    int ResolutionIndex() const { return m_resolutionIndex; }
    int FilmTypeRadioIndex() const { return m_filmTypeRadioIndex; }
    const StillFormat* StillFormatRecord() const { return m_session->StillFormatRecord(); }
    // Written when capture starts; publish the save settings after changing it.
    StillFormat* MutableStillFormatRecord() { return m_session->MutableStillFormatRecord(); }
    bool IsScannerConnected() const { return m_session->IsScannerConnected(); }
    int SavedImageCount() const { return m_session->SavedImageCount(); }
    bool IsScanTimerArmed() const { return m_session->IsScanTimerArmed(); }
    // The scanner behind the window.
    ScannerSession& Session() const { return *m_session; }
    // The film type in effect: 0 slide, 1 negative, 2 black and white.
    int FilmType() const { return m_session->FilmType(); }
    // The adjustment values the scanner was last given (zeros before the first connection).
    ScanAdjustments CurrentAdjustments() const { return m_session->CurrentAdjustments(); }
    CXLabel& StatusLine() const { return *m_statusLine; }
    CXLabel& PreviewArea() const { return *m_previewArea; }
    CXLabel& NoDeviceLabel() const { return *m_noDeviceLabel; }
    // The "Scan when the frame settles" check box and its loop; null before OnInitDialog.
    AutoScan* AutoScanner() const { return m_autoScan.get(); }
    // The last scans beside the template's controls, and the frame of what a Scan keeps over the
    // preview (both made by OnInitDialog).
    LastScansStrip& LastScans() const { return *m_lastScans; }
    CropFrameOverlay& CropFrame() const { return *m_cropFrame; }

    // Ids that stay enabled whether or not a scanner is connected.
    static bool IsAlwaysEnabled(int id);

signals:
    // The close sequence has begun (emitted once).
    void closeSequenceStarted();
    // A save has finished (GUI thread, in the order the saves finished); `result` 0 = saved.
    void saveFinished(zv::Status result, const QString& path);
    // A Scan's time-out expired before a frame was saved.
    void scanTimedOut();
    // A scanner was connected (true) or the connected one was disconnected (false).
    void connectionChanged(bool connected);

public:
    // Escape and the window manager's close end the window through the close sequence.
    void reject() override;
    // The OK command does nothing: Enter never closes the window.
    void accept() override;

private:
    void CreateControls();
    QWidget* CreateBoundControl(const ControlTemplate& control, QWidget* parent);
    // Attaches the label made for control `id` to it (font and style of the control).
    CXLabel* BindLabel(int id);
    // Enables every control but the always-enabled ones exactly while a scanner is connected.
    void RunEnablingPass();
    // The folder typed into the folder field becomes the save folder: the folder shown is the
    // folder a Scan or a Browse uses.
    void TakeTypedSaveFolder();
    // Hands the save folder, film size and resolution to the choice store when they changed.
    void StoreChoices();
    // Labels the resolution radios with the sizes of the film size in effect.
    void ShowResolutionTexts();
    void ShowStatusDetail(const QString& text);
    // Shows a failed Scan (kind 2, the would-be number) with its reason.
    void ShowScanFailure(Status reason, const QString& path = QString());
    // "Save image failed: <why>" and the file's path, when there is one.
    QString ScanFailureDetail(Status reason, const QString& path = QString()) const;
    void ShowDeviceLocked();
    // What the window shows as the session takes on or lets go of the scanner.
    void ConnectSessionSignals();
    void OnScannerAttached();
    void OnScannerDetached(bool scanWaiting);
    void OnSaveFinished(Status result, const QString& path);
    void OnScanTimedOut(Status reason);
    // The count (or the number a failed image would have had) in the saved or failed colour.
    void ShowCount(int number, bool saved);
    void ConnectHandlers();
    void CreateAdjustments();
    void ConnectAdjustmentHandlers();
    // Writes what the adjustments changed to their controls.
    void ShowAdjustments(const AdjustmentChanges& changes);
    // Tells why when the film type cannot be set on the scanner: a tooltip on the film type
    // buttons, and once (per reason) a line through the error reporter.
    void ShowFilmTypeAccess(const QString& problem, bool firstTold);
    // The wait cursor while the session reads or writes the film type.
    void ShowSlowDeviceWork(bool underway);
    // What discovery found, in words, on the no-device label (tooltip, accessible description).
    void ShowNoDeviceDetail(const QString& text);
    void FillLanguageCombo();
    // The Space key, the last-scans strip and the crop frame.
    void CreateScanAids();
    // Frames the band a Scan keeps over the live picture; nothing without a preview.
    void ShowCropFrame();
    // Where the preview goes in the preview area for the capture format; nothing when it is no
    // whole video format block.
    std::optional<QRect> PreviewGeometry(const media::MediaType& format) const;

    std::unique_ptr<ControlTable> m_controls;
    QComboBox* m_languageCombo = nullptr;
    CXLabel* m_statusLine = nullptr;
    CXLabel* m_previewArea = nullptr;
    // The live preview, a child of the preview area (made by OnInitDialog).
    VideoWidget* m_video = nullptr;
    CXLabel* m_noDeviceLabel = nullptr;
    LastScansStrip* m_lastScans = nullptr;
    CropFrameOverlay* m_cropFrame = nullptr;

    int m_resolutionIndex = 0;
    QString m_saveFolder;
    int m_filmSizeIndex = 0;
    int m_filmTypeRadioIndex = 0;
    QIcon m_icon;
    std::unique_ptr<ScannerSession> m_session;
    // Shown while the session tells of slow device work.
    std::optional<WaitCursor> m_slowDeviceCursor;
    // Bound to m_controls once they exist.
    std::optional<AdjustmentBinder> m_adjustmentBinder;
    std::unique_ptr<AutoScan> m_autoScan;
    std::function<void(const QString&)> m_reportError;
    std::function<QString(const QString&)> m_chooseFolder;
    std::function<void(const QString&)> m_openFolder;
    std::shared_ptr<PersistentChoices> m_choiceStore;
    // What the store holds (restored or last stored): unchanged choices are not written again.
    std::optional<SavedChoices> m_storedChoices;
    bool m_closed = false;
};

}  // namespace zv
