// The scanner window's device connection: the handlers forward to the session, and the window
// follows what the session tells. All run on the GUI thread; device changes arrive through its
// event loop.
#include "controls/xlabel.h"
#include "device/property_slots.h"
#include "platform/media/filter.h"
#include "window/brasquel_dlg.h"
#include "window/wait_cursor.h"

namespace zv {

void CBrasquelDlg::SetDeviceBackend(std::shared_ptr<devices::DeviceBackend> devices,
                                    ProbePause pause) {
    m_session->SetDeviceBackend(std::move(devices), std::move(pause));
}

void CBrasquelDlg::ConnectSessionSignals() {
    ScannerSession& session = *m_session;
    connect(&session, &ScannerSession::scannerAttached, this, &CBrasquelDlg::OnScannerAttached);
    connect(&session, &ScannerSession::scannerDetached, this, &CBrasquelDlg::OnScannerDetached);
    connect(&session, &ScannerSession::connectionChanged, this, &CBrasquelDlg::connectionChanged);
    connect(&session, &ScannerSession::saveFinished, this, &CBrasquelDlg::OnSaveFinished);
    connect(&session, &ScannerSession::scanTimedOut, this, &CBrasquelDlg::OnScanTimedOut);
    connect(&session, &ScannerSession::deviceLocked, this, &CBrasquelDlg::ShowDeviceLocked);
    connect(&session, &ScannerSession::discoveryDetailChanged, this,
            &CBrasquelDlg::ShowNoDeviceDetail);
    connect(&session, &ScannerSession::captureChanged, this, &CBrasquelDlg::ShowCropFrame);
}

void CBrasquelDlg::ShowNoDeviceDetail(const QString& text) {
    if (m_noDeviceLabel == nullptr) {
        return;  // before OnInitDialog
    }
    m_noDeviceLabel->setToolTip(text);
    m_noDeviceLabel->setAccessibleDescription(text);
}

void CBrasquelDlg::OnDeviceChange(const devices::DeviceChangeEvent& event) {
    m_session->OnDeviceChange(event);
}

void CBrasquelDlg::ConnectScanner(std::shared_ptr<media::Filter> filter) {
    m_session->ConnectScanner(std::move(filter));
}

void CBrasquelDlg::OnScannerAttached() {
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
}

void CBrasquelDlg::DisconnectScanner() {
    m_session->DisconnectScanner();
}

void CBrasquelDlg::OnScannerDetached(bool scanWaiting) {
    m_slots->ReleaseInterfaces();
    RunEnablingPass();
    m_statusLine->SetText(QString());
    ShowFilmTypeAccess();
    m_controls->showControl(ctl::kNoDevicePicture, true);
    m_controls->showControl(ctl::kNoDeviceLabel, true);
    if (scanWaiting) {
        // A scan still waiting for its frame ends without a time-out message; the details say
        // why.
        ShowStatusDetail(ScanFailureDetail(kScannerUnplugged));
    }
}

}  // namespace zv
