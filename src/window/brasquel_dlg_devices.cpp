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

void CBrasquelDlg::SetDeviceBackend(std::shared_ptr<devices::DeviceBackend> devices,
                                    ProbePause pause) {
    m_devices = std::move(devices);
    m_probePause = std::move(pause);
}

void CBrasquelDlg::ConnectFoundScanner(const std::optional<QString>& matchPath) {
    if (!m_devices) {
        return;
    }
    std::shared_ptr<media::Filter> filter;
    QString path;
    if (FindScanner(*m_devices, matchPath, &path, &filter, m_probePause)) {
        m_connectedDevicePath = path;
        ConnectScanner(filter);
    }
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

Status CBrasquelDlg::ConnectScanner(std::shared_ptr<media::Filter> filter) {
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
        ApplyFilmType(ctl::kNegative, true);
    }
    RefreshAllSlotControls();
    StartCapture();
    return kOk;
}

Status CBrasquelDlg::DisconnectScanner() {
    // A scan waiting for its frame ends without a time-out message.
    m_scanTimer.stop();
    StopCapture();
    m_scannerFilter.reset();
    m_slots->ReleaseInterfaces();
    RunEnablingPass();
    m_statusLine->SetText(QString());
    m_savedImageCount = 0;
    ShowFilmTypeAccess();
    m_controls->showControl(ctl::kNoDevicePicture, true);
    m_controls->showControl(ctl::kNoDeviceLabel, true);
    return kOk;
}

}  // namespace zv
