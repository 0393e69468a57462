// The session's save hand-off: the snapshot a save reads, the still trigger and its time-out,
// the frame's save on its streaming thread and the outcomes back on the GUI thread.
#include "capture/capture_controller.h"
#include "platform/media/filter.h"
#include "session/scan_timeout.h"
#include "session/scanner_session.h"
#include "session/still_frame_saver.h"

namespace zv {

void ScannerSession::PublishSaveSettings() {
    SaveSettings settings = m_choices;
    // Saves name their files after the film type in effect and describe its adjustments.
    settings.filmType = FilmType();
    settings.adjustments = CurrentAdjustments();
    settings.still = m_stillFormat ? *m_stillFormat : StillFormat{};
    settings.scannerMake.clear();
    settings.scannerModel.clear();
    media::VendorInfo vendor;
    if (m_scannerFilter && Succeeded(m_scannerFilter->QueryVendorInfo(&vendor))) {
        settings.scannerMake = vendor.manufacturer;
        settings.scannerModel = vendor.product;
    }
    m_saver->Publish(std::move(settings));
    emit captureChanged();
}

Status ScannerSession::TriggerScan() {
    if (!m_scannerFilter || !m_captureController) {
        return kFalse;
    }
    if (m_choices.saveFolder.trimmed().isEmpty()) {
        return kNoSaveFolder;
    }
    const Status reason = m_captureController->TriggerStill() ? kScanTimedOut : kNoStillFormat;
    // Whatever the trigger did, the time-out is armed; a second Scan restarts it.
    m_scanTimeout->Arm(reason);
    return kOk;
}

bool ScannerSession::IsScanTimerArmed() const {
    return m_scanTimeout->IsArmed();
}

Status ScannerSession::ScanTimeoutReason() const {
    return m_scanTimeout->Reason();
}

void ScannerSession::OnTimer() {
    m_scanTimeout->Stop();
    emit scanTimedOut(m_scanTimeout->Reason());
}

Status ScannerSession::SaveStillFrame(double /*sampleTime*/, std::span<const std::uint8_t> frame) {
    ++m_stillsInProgress;
    return m_saver->Save(frame.data(), static_cast<std::int32_t>(frame.size()));
}

void ScannerSession::ApplySaveOutcomes() {
    // Runs on the GUI thread, so each outcome is one unit against the time-out.
    for (const SaveOutcome& outcome : m_saver->TakeOutcomes()) {
        --m_stillsInProgress;
        m_scanTimeout->Stop();
        if (outcome.result == kOk) {
            ++m_savedImageCount;
        }
        emit saveFinished(outcome.result, outcome.path);
    }
}

}  // namespace zv
