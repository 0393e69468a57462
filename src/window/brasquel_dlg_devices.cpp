// The scanner window's device connection: discovery at start, arrival and removal, connect and
// disconnect. All run on the GUI thread; device changes arrive through its event loop.
#include "controls/xlabel.h"
#include "device/find_scanner.h"
#include "device/property_slots.h"
#include "platform/devices/device_backend.h"
#include "platform/devices/device_change_event.h"
#include "platform/devices/device_notifier.h"
#include "platform/devices/scanner_contract.h"
#include "platform/media/filter.h"
#include "window/brasquel_dlg.h"
#include "window/wait_cursor.h"

namespace zv {
namespace {

// A scanner just plugged in may still be starting its chip: a device with the scanner's USB
// identifiers that does not identify itself is looked for again, four times a quarter second
// apart.
constexpr int kIdentifyRetries = 4;
constexpr std::chrono::milliseconds kIdentifyRetryInterval{250};

}  // namespace

void CBrasquelDlg::SetDeviceBackend(std::shared_ptr<devices::DeviceBackend> devices,
                                    ProbePause pause) {
    m_devices = std::move(devices);
    m_probePause = std::move(pause);
}

void CBrasquelDlg::ConnectFoundScanner(const std::optional<QString>& matchPath) {
    if (DiscoverAndConnect(matchPath) && !m_identifyRetry.isActive()) {
        m_identifyRetriesLeft = kIdentifyRetries;
        m_identifyRetry.start(kIdentifyRetryInterval);
    }
}

void CBrasquelDlg::OnIdentifyRetry() {
    if (m_scannerFilter) {
        return;
    }
    // Any scanner now: the one that arrived is the only one that did not identify.
    if (DiscoverAndConnect(std::nullopt) && --m_identifyRetriesLeft > 0) {
        m_identifyRetry.start(kIdentifyRetryInterval);
    }
}

bool CBrasquelDlg::DiscoverAndConnect(const std::optional<QString>& matchPath) {
    if (!m_devices) {
        return false;
    }
    std::shared_ptr<media::Filter> filter;
    QString path;
    DiscoveryReport report;
    if (FindScanner(*m_devices, matchPath, &path, &filter, m_probePause, &report)) {
        m_identifyRetry.stop();
        m_lastDiscovery.clear();
        ShowNoDeviceDetail(QString());
        m_connectedDevicePath = path;
        ConnectScanner(filter);
        return false;
    }
    m_lastDiscovery = std::move(report);
    ShowNoDeviceDetail(DescribeDiscovery(m_lastDiscovery));
    return SawUnidentifiedScanner(m_lastDiscovery);
}

void CBrasquelDlg::ShowNoDeviceDetail(const QString& text) {
    m_noDeviceLabel->setToolTip(text);
    m_noDeviceLabel->setAccessibleDescription(text);
}

void CBrasquelDlg::RegisterForDeviceChanges() {
    if (!m_devices) {
        return;
    }
    m_deviceNotifier = m_devices->RegisterDeviceNotification(contract::kCaptureInterfaceCategory);
    if (m_deviceNotifier) {
        connect(m_deviceNotifier.get(), &devices::DeviceNotifier::deviceChange, this,
                &CBrasquelDlg::OnDeviceChange);
    }
}

void CBrasquelDlg::OnDeviceChange(const devices::DeviceChangeEvent& event) {
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

void CBrasquelDlg::ConnectScanner(std::shared_ptr<media::Filter> filter) {
    DisconnectScanner();
    m_scannerFilter = std::move(filter);
    m_controls->showControl(ctl::kNoDevicePicture, false);
    m_controls->showControl(ctl::kNoDeviceLabel, false);
    RunEnablingPass();
    m_statusLine->SetText(QString());
    {
        // Reading and writing the film type may each take the scanner from its driver for a
        // moment: one wait cursor for both. A busy scanner is told of by the capture start.
        const WaitCursor wait;
        LoadPropertySlots();
        // A film type the scanner refuses leaves its buttons as the scanner reports them.
        IgnoreStatus(ApplyFilmType(ctl::kNegative, true));
    }
    RefreshAllSlotControls();
    // A start that fails shows its own message.
    IgnoreStatus(StartCapture());
    // The start may have shown the "locked" box, during which the scanner may have gone again.
    if (m_scannerFilter) {
        emit connectionChanged(true);
    }
}

void CBrasquelDlg::DisconnectScanner() {
    const bool wasConnected = m_scannerFilter != nullptr;
    // Stopping applies the outcomes of saves that finished, each of which stops the time-out;
    // the time-out cannot expire meanwhile (no event loop runs).
    StopCapture();
    // A scan still waiting for its frame ends without a time-out message; the details say why.
    const bool scanWaiting = m_scanTimer.isActive();
    m_scanTimer.stop();
    m_scannerFilter.reset();
    m_slots->ReleaseInterfaces();
    RunEnablingPass();
    m_statusLine->SetText(QString());
    m_savedImageCount = 0;
    ShowFilmTypeAccess();
    m_controls->showControl(ctl::kNoDevicePicture, true);
    m_controls->showControl(ctl::kNoDeviceLabel, true);
    if (scanWaiting) {
        ShowStatusDetail(ScanFailureDetail(kScannerUnplugged));
    }
    if (wasConnected) {
        emit connectionChanged(false);
    }
}

}  // namespace zv
