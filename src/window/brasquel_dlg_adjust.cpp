// The scanner window's adjustment controls: sliders, Default / Custom and the film types, handed
// to the property slots. GUI thread.
#include "device/adjustment_controls.h"
#include "device/property_slots.h"
#include "device/trackbar_code.h"
#include "platform/devices/camera_control.h"
#include "platform/devices/scanner_contract.h"
#include "platform/devices/video_proc_amp.h"
#include "window/brasquel_dlg.h"
#include "window/wait_cursor.h"

#include <QAbstractButton>
#include <QSlider>

#include <array>

namespace zv {
namespace {

constexpr std::array kAdjustmentSliderIds = {ctl::kSaturationSlider, ctl::kBrightnessSlider,
                                             ctl::kContrastSlider,   ctl::kRedSlider,
                                             ctl::kGreenSlider,      ctl::kBlueSlider};

// The slider action as the notification code the adjustments understand; -1 for none.
int NotificationCode(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            return tb::kLineUp;
        case QAbstractSlider::SliderSingleStepAdd:
            return tb::kLineDown;
        case QAbstractSlider::SliderPageStepSub:
            return tb::kPageUp;
        case QAbstractSlider::SliderPageStepAdd:
            return tb::kPageDown;
        case QAbstractSlider::SliderMove:
            return tb::kThumbTrack;
        case QAbstractSlider::SliderToMinimum:
            return tb::kTop;
        case QAbstractSlider::SliderToMaximum:
            return tb::kBottom;
        default:
            return -1;
    }
}

}  // namespace

void CBrasquelDlg::CreateAdjustments() {
    m_slots = std::make_unique<PropertySlots>();
    m_adjustments = std::make_unique<AdjustmentControls>(
        *m_slots, [this] { return IsScannerConnected(); });
    m_adjustmentBinder.emplace(*m_controls);
}

void CBrasquelDlg::ShowAdjustments(const AdjustmentChanges& changes) {
    m_adjustmentBinder->Show(changes);
}

void CBrasquelDlg::ConnectAdjustmentHandlers() {
    for (const int id : kAdjustmentSliderIds) {
        connect(
            m_controls->ControlAs<QSlider>(id), &QAbstractSlider::actionTriggered, this,
            [this, id](int action) {
                const int code = NotificationCode(action);
                if (code < 0) {
                    return;
                }
                if (m_adjustments->TakesSliderChange(code, id)) {
                    // The settings follow the controls before the device is written.
                    UpdateData(true);
                    // The thumb already stands where the action puts it.
                    ShowAdjustments(m_adjustments->OnHScroll(code, id, m_controls->SliderPos(id)));
                }
                // Saves describe the values the scanner now has.
                PublishSaveSettings();
            });
    }
    const auto onClick = [this](int id, auto handler) {
        connect(m_controls->ControlAs<QAbstractButton>(id), &QAbstractButton::clicked, this,
                handler);
    };
    onClick(ctl::kDefault, [this] {
        ShowAdjustments(m_adjustments->ApplyDefaults());
        PublishSaveSettings();
    });
    onClick(ctl::kCustom, [this] { ShowAdjustments(m_adjustments->OnCustom()); });
    for (const int id : {ctl::kSlide, ctl::kNegative, ctl::kBlackWhite}) {
        onClick(id, [this, id] { OnFilmTypeClicked(id); });
    }
}

void CBrasquelDlg::OnFilmTypeClicked(int id) {
    if (contract::IsBusyStatus(ApplyFilmType(id))) {
        ShowDeviceLocked();
    }
}

Status CBrasquelDlg::ApplyFilmType(int id, bool connecting) {
    // Writing the film type may take the scanner away from its driver for a moment.
    const WaitCursor wait;
    FilmTypeOutcome outcome;
    switch (id) {
        case ctl::kSlide:
            outcome = m_adjustments->OnSlide();
            break;
        case ctl::kNegative:
            outcome =
                connecting ? m_adjustments->ApplyConnectionFilmType() : m_adjustments->OnNegative();
            break;
        case ctl::kBlackWhite:
            outcome = m_adjustments->OnBlackWhite();
            break;
        default:
            return kFalse;
    }
    ShowAdjustments(outcome.changes);
    // Saves name their files after the film type in effect and describe its presets.
    PublishSaveSettings();
    ShowFilmTypeAccess();
    return outcome.status;
}

void CBrasquelDlg::ShowFilmTypeAccess() {
    QString problem;
    if (IsScannerConnected() &&
        !m_slots->Slot(SlotTable::kCamera, PropertySlots::kFilmTypeSlot).supported) {
        QString reason =
            m_slots->UnavailableReason({SlotTable::kCamera, PropertySlots::kFilmTypeSlot});
        if (reason.isEmpty()) {
            reason = QStringLiteral("the scanner does not offer it to this system.");
        }
        problem = QStringLiteral("The film type cannot be set: %1").arg(reason);
    }
    for (const int id : {ctl::kSlide, ctl::kNegative, ctl::kBlackWhite}) {
        m_controls->Control(id)->setToolTip(problem);
    }
    if (problem.isEmpty() || problem == m_reportedFilmTypeProblem) {
        return;
    }
    m_reportedFilmTypeProblem = problem;
    if (m_reportError) {
        m_reportError(problem);
    }
}

void CBrasquelDlg::LoadPropertySlots() {
    // Properties the scanner lacks leave their slots disabled.
    IgnoreStatus(m_slots->LoadPropertySlots(ScannerFilter()));
    ShowAdjustments(m_slots->TakeChanges());
}

void CBrasquelDlg::RefreshAllSlotControls() {
    m_slots->ShowAllSlots();
    ShowAdjustments(m_slots->TakeChanges());
}

ScanAdjustments CBrasquelDlg::CurrentAdjustments() const {
    if (!m_slots) {
        return {};
    }
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

int CBrasquelDlg::FilmType() const {
    return m_slots ? m_slots->FilmType() : 0;
}

}  // namespace zv
