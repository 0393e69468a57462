// The session's connection: discovery, arrival and removal, connect and disconnect. GUI thread;
// device changes arrive through its event loop.
#include "session/scanner_session.h"

#include "capture/capture_controller.h"
#include "device/adjustment_controls.h"
#include "device/find_scanner.h"
#include "device/property_slots.h"
#include "platform/devices/device_backend.h"
#include "platform/devices/device_change_event.h"
#include "platform/devices/device_notifier.h"
#include "platform/devices/scanner_contract.h"
#include "platform/media/filter.h"
#include "session/scan_timeout.h"
#include "session/still_frame_saver.h"
#include "settings/default_save_folder.h"

namespace zv {
namespace {

// A scanner just plugged in may still be starting its chip: a device with the scanner's USB
// identifiers that does not identify itself is looked for again, four times a quarter second
// apart.
constexpr int kIdentifyRetries = 4;
constexpr std::chrono::milliseconds kIdentifyRetryInterval{250};

}  // namespace

ScannerSession::ScannerSession(QObject* parent)
    : QObject(parent),
      m_stillFormat(std::make_unique<StillFormat>()),
      m_defaultSaveFolder(zv::DefaultSaveFolder()),
      m_slots(std::make_unique<PropertySlots>()),
      m_adjustments(
          std::make_unique<AdjustmentControls>(*m_slots, [this] { return IsScannerConnected(); })),
      m_scanTimeout(std::make_unique<ScanTimeout>()) {
    m_identifyRetry.setSingleShot(true);
    connect(&m_identifyRetry, &QTimer::timeout, this, &ScannerSession::OnIdentifyRetry);
    connect(m_scanTimeout.get(), &ScanTimeout::expired, this, &ScannerSession::OnTimer);
    // Called on the streaming thread; the queued call runs on this session's thread and is
    // dropped by Qt if the session is gone by then.
    m_saver = std::make_unique<StillFrameSaver>([this] {
        QMetaObject::invokeMethod(this, &ScannerSession::ApplySaveOutcomes, Qt::QueuedConnection);
    });
    m_choices.saveFolder = m_defaultSaveFolder;
    m_choices.defaultFolder = true;
    PublishSaveSettings();
}

ScannerSession::~ScannerSession() {
    StopCapture();
}

void ScannerSession::SetDeviceBackend(std::shared_ptr<devices::DeviceBackend> devices,
                                      ProbePause pause) {
    m_devices = std::move(devices);
    m_probePause = std::move(pause);
}

void ScannerSession::Open() {
    ConnectFoundScanner(std::nullopt);
    RegisterForDeviceChanges();
}

void ScannerSession::Close() {
    m_deviceNotifier.reset();
    m_identifyRetry.stop();
    StopCapture();
    // Saves that finished while no capture ran (or just before it stopped) still count.
    ApplySaveOutcomes();
    m_stillFormat.reset();
}

void ScannerSession::ConnectFoundScanner(const std::optional<QString>& matchPath) {
    if (DiscoverAndConnect(matchPath) && !m_identifyRetry.isActive()) {
        m_identifyRetriesLeft = kIdentifyRetries;
        m_identifyRetry.start(kIdentifyRetryInterval);
    }
}

void ScannerSession::OnIdentifyRetry() {
    if (m_scannerFilter) {
        return;
    }
    // Any scanner now: the one that arrived is the only one that did not identify.
    if (DiscoverAndConnect(std::nullopt) && --m_identifyRetriesLeft > 0) {
        m_identifyRetry.start(kIdentifyRetryInterval);
    }
}

bool ScannerSession::DiscoverAndConnect(const std::optional<QString>& matchPath) {
    if (!m_devices) {
        return false;
    }
    std::shared_ptr<media::Filter> filter;
    QString path;
    DiscoveryReport report;
    if (FindScanner(*m_devices, matchPath, &path, &filter, m_probePause, &report)) {
        m_identifyRetry.stop();
        m_lastDiscovery.clear();
        emit discoveryDetailChanged(QString());
        m_connectedDevicePath = path;
        ConnectScanner(filter);
        return false;
    }
    m_lastDiscovery = std::move(report);
    emit discoveryDetailChanged(DescribeDiscovery(m_lastDiscovery));
    return SawUnidentifiedScanner(m_lastDiscovery);
}

void ScannerSession::RegisterForDeviceChanges() {
    if (!m_devices) {
        return;
    }
    m_deviceNotifier = m_devices->RegisterDeviceNotification(contract::kCaptureInterfaceCategory);
    if (m_deviceNotifier) {
        connect(m_deviceNotifier.get(), &devices::DeviceNotifier::deviceChange, this,
                &ScannerSession::OnDeviceChange);
    }
}

void ScannerSession::OnDeviceChange(const devices::DeviceChangeEvent& event) {
    // Volumes, ports and the like carry no class or name: only device-interface changes count.
    if (event.deviceType != devices::kDeviceTypeInterface ||
        event.classGuid != contract::kCaptureInterfaceCategory) {
        return;
    }
    if (event.eventCode == devices::kDeviceArrival) {
        // A running connection is never disturbed, not even by a second scanner.
        if (!m_scannerFilter) {
            ConnectFoundScanner(event.name);
        }
    } else if (event.eventCode == devices::kDeviceRemoveComplete) {
        if (m_scannerFilter &&
            event.name.compare(m_connectedDevicePath, Qt::CaseInsensitive) == 0) {
            DisconnectScanner();
        }
    }
}

void ScannerSession::SetScannerFilter(std::shared_ptr<media::Filter> filter, QString devicePath) {
    m_scannerFilter = std::move(filter);
    m_connectedDevicePath = std::move(devicePath);
}

void ScannerSession::ConnectScanner(std::shared_ptr<media::Filter> filter) {
    DisconnectScanner();
    m_scannerFilter = std::move(filter);
    emit scannerAttached();
    LoadAdjustments();
    // A start that fails says so itself.
    IgnoreStatus(StartCapture());
    // The start may have told of a locked scanner, during which the scanner may have gone again.
    if (m_scannerFilter) {
        emit connectionChanged(true);
    }
}

void ScannerSession::DisconnectScanner() {
    const bool wasConnected = m_scannerFilter != nullptr;
    // Stopping applies the outcomes of saves that finished, each of which stops the time-out;
    // the time-out cannot expire meanwhile (no event loop runs).
    StopCapture();
    // A scan still waiting for its frame ends without a time-out.
    const bool scanWaiting = m_scanTimeout->Stop();
    m_scannerFilter.reset();
    // The slots keep their values for the next connection, which reads them afresh.
    m_slots->ReleaseInterfaces();
    m_savedImageCount = 0;
    emit scannerDetached(scanWaiting);
    TellFilmTypeAccess();
    if (wasConnected) {
        emit connectionChanged(false);
    }
}

}  // namespace zv
