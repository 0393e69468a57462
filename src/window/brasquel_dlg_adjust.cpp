// The scanner window's adjustment controls: sliders, Default / Custom and the film types, handed
// to the property slots. GUI thread.
#include "device/adjustment_controls.h"
#include "device/property_slots.h"
#include "device/trackbar_code.h"
#include "platform/devices/camera_control.h"
#include "platform/devices/video_proc_amp.h"
#include "window/brasquel_dlg.h"

#include <QAbstractButton>
#include <QSlider>

#include <array>

namespace zv {
namespace {

constexpr std::array kAdjustmentSliderIds = {1002, 1003, 1004, 1005, 1006, 1007};

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
    m_slots = std::make_unique<PropertySlots>(*m_controls);
    m_adjustments = std::make_unique<AdjustmentControls>(
        *m_slots, [this] { return m_scannerFilter != nullptr; });
    m_adjustments->SetExchangeFromControls([this] { UpdateData(true); });
}

void CBrasquelDlg::ConnectAdjustmentHandlers() {
    for (const int id : kAdjustmentSliderIds) {
        connect(m_controls->ControlAs<QSlider>(id), &QAbstractSlider::actionTriggered, this,
                [this, id](int action) {
                    const int code = NotificationCode(action);
                    if (code >= 0) {
                        m_adjustments->OnHScroll(code, id);
                        // Saves describe the values the scanner now has.
                        PublishSaveSettings();
                    }
                });
    }
    const auto onClick = [this](int id, auto handler) {
        connect(m_controls->ControlAs<QAbstractButton>(id), &QAbstractButton::clicked, this,
                handler);
    };
    onClick(ctl::kDefault, [this] {
        m_adjustments->ApplyDefaults();
        PublishSaveSettings();
    });
    onClick(ctl::kCustom, [this] { m_adjustments->OnCustom(); });
    for (const int id : {ctl::kSlide, ctl::kNegative, ctl::kBlackWhite}) {
        onClick(id, [this, id] { OnFilmTypeClicked(id); });
    }
}

void CBrasquelDlg::OnFilmTypeClicked(int id) {
    switch (id) {
        case ctl::kSlide:
            m_adjustments->OnSlide();
            break;
        case ctl::kNegative:
            m_adjustments->OnNegative();
            break;
        case ctl::kBlackWhite:
            m_adjustments->OnBlackWhite();
            break;
        default:
            return;
    }
    // Saves name their files after the film type in effect and describe its presets.
    PublishSaveSettings();
}

void CBrasquelDlg::LoadPropertySlots() {
    m_slots->LoadPropertySlots(m_scannerFilter);
}

void CBrasquelDlg::RefreshAllSlotControls() {
    m_slots->RefreshAllSlotControls();
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

PropertySlots& CBrasquelDlg::Slots() const {
    return *m_slots;
}

}  // namespace zv
