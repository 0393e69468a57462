// The session's picture settings and choices: the adjustments and the film type read and written
// through the property slots, the save folder, film size and resolution. GUI thread.
#include "device/adjustment_controls.h"
#include "device/film_type_preset.h"
#include "device/property_slots.h"
#include "session/scanner_session.h"

#include <QDir>

namespace zv {

void ScannerSession::LoadAdjustments() {
    // Reading and writing the film type may each take the scanner from its driver for a moment.
    emit slowDeviceWork(true);
    // Properties the scanner lacks leave their slots disabled.
    IgnoreStatus(m_slots->LoadPropertySlots(m_scannerFilter));
    emit adjustmentsChanged(m_slots->TakeChanges());
    // A film type the scanner refuses leaves its buttons as the scanner reports them; a busy
    // scanner is told of by the capture start.
    IgnoreStatus(TakeFilmTypeOutcome(m_adjustments->ApplyConnectionFilmType()));
    emit slowDeviceWork(false);
    m_slots->ShowAllSlots();
    emit adjustmentsChanged(m_slots->TakeChanges());
}

Status ScannerSession::SetFilmType(int filmType) {
    FilmTypeOutcome (AdjustmentControls::*apply)() = nullptr;
    switch (filmType) {
        case kFilmTypeSlide:
            apply = &AdjustmentControls::OnSlide;
            break;
        case kFilmTypeNegative:
            apply = &AdjustmentControls::OnNegative;
            break;
        case kFilmTypeBlackWhite:
            apply = &AdjustmentControls::OnBlackWhite;
            break;
        default:
            return kFalse;
    }
    emit slowDeviceWork(true);
    const Status status = TakeFilmTypeOutcome((*m_adjustments.*apply)());
    emit slowDeviceWork(false);
    return status;
}

Status ScannerSession::TakeFilmTypeOutcome(const FilmTypeOutcome& outcome) {
    emit adjustmentsChanged(outcome.changes);
    PublishSaveSettings();
    TellFilmTypeAccess();
    return outcome.status;
}

QString ScannerSession::FilmTypeProblem() const {
    const SlotRef filmType{SlotTable::kCamera, PropertySlots::kFilmTypeSlot};
    if (!IsScannerConnected() || m_slots->Slot(filmType).supported) {
        return QString();
    }
    QString reason = m_slots->UnavailableReason(filmType);
    if (reason.isEmpty()) {
        reason = QStringLiteral("the scanner does not offer it to this system.");
    }
    return QStringLiteral("The film type cannot be set: %1").arg(reason);
}

void ScannerSession::TellFilmTypeAccess() {
    const QString problem = FilmTypeProblem();
    const bool firstTold = !problem.isEmpty() && problem != m_toldFilmTypeProblem;
    if (firstTold) {
        m_toldFilmTypeProblem = problem;
    }
    emit filmTypeAccessChanged(problem, firstTold);
}

int ScannerSession::FilmType() const {
    return m_slots->FilmType();
}

ScanAdjustments ScannerSession::CurrentAdjustments() const {
    const auto video = [this](int index) { return m_slots->Slot(SlotTable::kVideo, index).value; };
    const auto camera = [this](int index) {
        return m_slots->Slot(SlotTable::kCamera, index).value;
    };
    ScanAdjustments adjustments;
    adjustments.saturation = video(devices::kVideoProcAmpSaturation);
    adjustments.brightness = video(devices::kVideoProcAmpBrightness);
    adjustments.contrast = video(devices::kVideoProcAmpContrast);
    adjustments.gamma = video(devices::kVideoProcAmpGamma);
    // The scanner takes its colour levels on the camera terminal's pan, zoom and tilt.
    adjustments.red = camera(devices::kCameraControlPan);
    adjustments.green = camera(devices::kCameraControlZoom);
    adjustments.blue = camera(devices::kCameraControlTilt);
    return adjustments;
}

void ScannerSession::SetChoices(const SavedChoices& choices) {
    m_choices.saveFolder = choices.saveFolder;
    m_choices.defaultFolder =
        QDir::cleanPath(choices.saveFolder) == QDir::cleanPath(m_defaultSaveFolder);
    m_choices.filmSizeIndex = choices.filmSizeIndex;
    m_choices.resolutionIndex = choices.resolutionIndex;
    PublishSaveSettings();
}

SavedChoices ScannerSession::Choices() const {
    return {m_choices.saveFolder, m_choices.filmSizeIndex, m_choices.resolutionIndex};
}

void ScannerSession::SetFilmSize(int filmSizeIndex) {
    m_choices.filmSizeIndex = filmSizeIndex;
    PublishSaveSettings();
    if (!IsScannerConnected()) {
        return;
    }
    StopCapture();
    // A start that fails says so itself.
    IgnoreStatus(StartCapture());
}

}  // namespace zv
