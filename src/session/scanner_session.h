#pragma once

#include "capture/graph_object_factory.h"
#include "capture/still_format.h"
#include "device/adjustment_change.h"
#include "device/discovery_report.h"
#include "device/probe_pause.h"
#include "platform/status.h"
#include "session/save_settings.h"
#include "settings/persistent_choices.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

namespace zv {

struct FilmTypeOutcome;
class AdjustmentControls;
class CaptureController;
class PropertySlots;
class ScanTimeout;
class StillFrameSaver;
namespace devices {
class DeviceBackend;
class DeviceNotifier;
struct DeviceChangeEvent;
}  // namespace devices
namespace media {
class Filter;
class PreviewSink;
}  // namespace media

// The connected scanner and what runs on it, without any widget: discovery (with the
// identification retries), connection, arrival and removal, the picture adjustments and the film
// type (read and given their presets at every connection), the capture and its still trigger,
// the choices a save follows, the hand-off of still frames to the saver on their streaming
// thread, the count of saved images and the Scan's time-out. It signals what a front end shows.
//
// GUI thread, except SaveStillFrame (the still pin's streaming thread), which never waits for the
// GUI thread: it queues the outcome and posts ApplySaveOutcomes to this object. A post that
// arrives after the session is gone is dropped by Qt.
class ScannerSession : public QObject {
    Q_OBJECT

public:
    explicit ScannerSession(QObject* parent = nullptr);
    // No streaming thread outlives the session it saves for.
    ~ScannerSession() override;

    // The device system discovery and device changes go through. Without one the session stays
    // without a scanner. `pause` is the extension unit's probe pause.
    void SetDeviceBackend(std::shared_ptr<devices::DeviceBackend> devices,
                          ProbePause pause = SleepProbePause);
    // The first discovery (with its retries) and the device notifications.
    void Open();
    // The end: no more device changes or retries, capture stopped, every finished save applied.
    void Close();

    // Discovery (of the device named `matchPath`, when given) and, when it finds the scanner,
    // the connection; retried for a while when the scanner did not identify itself.
    void ConnectFoundScanner(const std::optional<QString>& matchPath);
    // Connects `filter` as the scanner (any earlier connection is torn down first): attached,
    // capture started, connectionChanged(true).
    void ConnectScanner(std::shared_ptr<media::Filter> filter);
    // Back to no scanner: scan time-out dropped, capture stopped, scanner released.
    void DisconnectScanner();
    void OnDeviceChange(const devices::DeviceChangeEvent& event);
    // Takes `filter` as the connected scanner without starting anything.
    void SetScannerFilter(std::shared_ptr<media::Filter> filter, QString devicePath);
    const std::shared_ptr<media::Filter>& ScannerFilter() const { return m_scannerFilter; }
    bool IsScannerConnected() const { return m_scannerFilter != nullptr; }
    const QString& ConnectedDevicePath() const { return m_connectedDevicePath; }
    const DiscoveryReport& LastDiscovery() const { return m_lastDiscovery; }
    bool IsIdentifyRetryPending() const { return m_identifyRetry.isActive(); }

    // A new capture controller, the pins' formats for the film size, the graph, the preview,
    // the run, the still format. Does nothing without a scanner.
    Status StartCapture();
    // Stops the graph, applies the outcomes of saves that finished, takes the preview out,
    // dismantles and destroys the capture controller. Safe without one.
    void StopCapture();
    CaptureController* Capture() const { return m_captureController.get(); }
    bool HasStillPin() const;
    // The still size a 135 frame is enlarged from when the scanner offers no still wider than
    // the preview formats; nothing otherwise.
    std::optional<QSize> EnlargedFrom() const;
    const StillFormat* StillFormatRecord() const { return m_stillFormat.get(); }
    StillFormat* MutableStillFormatRecord() { return m_stillFormat.get(); }
    void SetGraphObjectFactory(GraphObjectFactory objects) { m_graphObjects = std::move(objects); }
    // Where the preview's pictures go for display, from the next capture start on (without a
    // sink they are only kept, for the settle watcher).
    void SetPreviewSink(std::shared_ptr<media::PreviewSink> sink);

    // What a save reads (the choices below, the film type and adjustments the scanner has, the
    // still size, the scanner's make and model), handed to the streaming side as one consistent
    // snapshot. Every change below publishes; after an adjustment publish again.
    void PublishSaveSettings();
    // Asks the scanner for one still frame and arms the time-out (whatever the trigger did).
    // kNoSaveFolder, and nothing asked, while the save folder is empty (the file would go to the
    // root of the file system); kFalse without a running capture.
    Status TriggerScan();
    Status SaveStillFrame(double sampleTime, std::span<const std::uint8_t> frame);
    void ApplySaveOutcomes();
    // Still frames that have arrived and whose outcome has not been applied yet.
    int StillsInProgress() const { return m_stillsInProgress.load(); }
    int SavedImageCount() const { return m_savedImageCount; }
    bool IsScanTimerArmed() const;
    Status ScanTimeoutReason() const;
    // The time-out expired: it is dropped and scanTimedOut tells why.
    void OnTimer();

    // --- The choices a scan follows, the film type and the adjustments ---
    // Where scans go unless another folder is chosen: created with its parents at the first save.
    const QString& DefaultSaveFolder() const { return m_defaultSaveFolder; }
    // Save folder, film size and resolution as the saves follow them; the capture is left alone.
    void SetChoices(const SavedChoices& choices);
    SavedChoices Choices() const;
    // The film size (0: 135, 1: 126). While a scanner is connected the capture starts over with
    // the formats for it, even for the size it has (a start that failed is tried again); the
    // start may tell of a locked scanner, last.
    void SetFilmSize(int filmSizeIndex);
    // kFilmTypeSlide, kFilmTypeNegative or kFilmTypeBlackWhite, with its presets, written to the
    // scanner at once; saves are named after it. How the scanner took it: kFalse without a scanner
    // or for another value, a busy status while another program holds the scanner (the film type
    // stays as it was).
    Status SetFilmType(int filmType);
    // The film type in effect and the adjustment values the scanner was last given.
    int FilmType() const;
    ScanAdjustments CurrentAdjustments() const;
    // Why the connected scanner cannot take a film type; empty when it can or none is connected.
    QString FilmTypeProblem() const;
    // The slider, Default and Custom operations on the scanner's properties (publish after).
    AdjustmentControls& Adjustments() { return *m_adjustments; }

signals:
    // What the adjustments changed, for a front end to show (the first after every connection).
    void adjustmentsChanged(const zv::AdjustmentChanges& changes);
    // After every film type operation and disconnection: why the film type cannot be set (empty
    // when it can). `firstTold`: this problem has not been told before.
    void filmTypeAccessChanged(const QString& problem, bool firstTold);
    // A film type is read or written: the scanner may leave its driver for a moment (true), and
    // is done (false).
    void slowDeviceWork(bool underway);
    // A scanner was taken on; its adjustments are read and the capture starts right after.
    void scannerAttached();
    // The scanner was let go (also before every connection). `scanWaiting`: a Scan was still
    // waiting for its picture.
    void scannerDetached(bool scanWaiting);
    void connectionChanged(bool connected);
    // A save has finished (in the order the saves finished), the count already updated.
    void saveFinished(zv::Status result, const QString& path);
    void scanTimedOut(zv::Status reason);
    // Another program holds the scanner. The last thing the capture start does.
    void deviceLocked();
    // What discovery found, in words (empty when it found the scanner).
    void discoveryDetailChanged(const QString& text);
    // The capture, its still format or what a save reads changed.
    void captureChanged();
    // The preview goes on (the graph is built, not yet running) or off (the graph has stopped
    // and is about to be dismantled): the front end shows or hides it. Delivered at once.
    void previewShown(bool shown);

private:
    // --- Adjustments and film type ---
    // The connection's part: properties read, Negative and its presets applied, all shown.
    void LoadAdjustments();
    // Shows, publishes and tells what a film type operation did; its status.
    Status TakeFilmTypeOutcome(const FilmTypeOutcome& outcome);
    void TellFilmTypeAccess();

    bool DiscoverAndConnect(const std::optional<QString>& matchPath);
    void OnIdentifyRetry();
    void RegisterForDeviceChanges();
    void ChooseFormats();
    Status RecordStillFormat();

    std::shared_ptr<devices::DeviceBackend> m_devices;
    ProbePause m_probePause = SleepProbePause;
    std::unique_ptr<devices::DeviceNotifier> m_deviceNotifier;
    DiscoveryReport m_lastDiscovery;
    // Single shot: the next discovery try for a scanner that did not identify itself.
    QTimer m_identifyRetry;
    int m_identifyRetriesLeft = 0;
    QString m_connectedDevicePath;
    std::shared_ptr<media::Filter> m_scannerFilter;

    GraphObjectFactory m_graphObjects = GraphObjectFactory::Default();
    std::shared_ptr<media::PreviewSink> m_previewSink;
    std::unique_ptr<StillFormat> m_stillFormat;
    std::unique_ptr<CaptureController> m_captureController;

    // The choices of the last snapshot published (folder, film size, resolution).
    SaveSettings m_choices;
    QString m_defaultSaveFolder;
    std::unique_ptr<PropertySlots> m_slots;
    std::unique_ptr<AdjustmentControls> m_adjustments;
    // The film type problem last told as new.
    QString m_toldFilmTypeProblem;
    std::unique_ptr<StillFrameSaver> m_saver;
    // Raised on the streaming thread as a still frame arrives, lowered on the GUI thread as its
    // outcome is applied.
    std::atomic<int> m_stillsInProgress{0};
    int m_savedImageCount = 0;
    std::unique_ptr<ScanTimeout> m_scanTimeout;
};

}  // namespace zv
