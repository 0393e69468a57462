// The scanner window's device connection: the handlers forward to the session, and the window
// follows what the session tells. All run on the GUI thread; device changes arrive through its
// event loop.
#include "controls/xlabel.h"
#include "platform/media/filter.h"
#include "window/brasquel_dlg.h"

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
    connect(&session, &ScannerSession::adjustmentsChanged, this, &CBrasquelDlg::ShowAdjustments);
    connect(&session, &ScannerSession::filmTypeAccessChanged, this,
            &CBrasquelDlg::ShowFilmTypeAccess);
    connect(&session, &ScannerSession::slowDeviceWork, this, &CBrasquelDlg::ShowSlowDeviceWork);
}

void CBrasquelDlg::ShowSlowDeviceWork(bool underway) {
    if (underway) {
        m_slowDeviceCursor.emplace();
    } else {
        m_slowDeviceCursor.reset();
    }
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
    // The session reads the adjustments and applies the Negative presets next.
    m_statusLine->SetText(QString());
}

void CBrasquelDlg::DisconnectScanner() {
    m_session->DisconnectScanner();
}

void CBrasquelDlg::OnScannerDetached(bool scanWaiting) {
    RunEnablingPass();
    m_statusLine->SetText(QString());
    m_controls->showControl(ctl::kNoDevicePicture, true);
    m_controls->showControl(ctl::kNoDeviceLabel, true);
    if (scanWaiting) {
        // A scan still waiting for its frame ends without a time-out message; the details say
        // why.
        ShowStatusDetail(ScanFailureDetail(kScannerUnplugged));
    }
}

}  // namespace zv
