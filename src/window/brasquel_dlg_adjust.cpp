// The scanner window's adjustment controls: sliders, Default / Custom and the film types, handed
// to the session's adjustments. GUI thread.
#include "device/adjustment_controls.h"
#include "device/film_type_preset.h"
#include "device/trackbar_code.h"
#include "platform/devices/scanner_contract.h"
#include "window/brasquel_dlg.h"

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

// The film type of a film type button; -1 for another control.
int FilmTypeOf(int id) {
    switch (id) {
        case ctl::kSlide:
            return kFilmTypeSlide;
        case ctl::kNegative:
            return kFilmTypeNegative;
        case ctl::kBlackWhite:
            return kFilmTypeBlackWhite;
        default:
            return -1;
    }
}

}  // namespace

void CBrasquelDlg::CreateAdjustments() {
    m_adjustmentBinder.emplace(*m_controls);
}

void CBrasquelDlg::ShowAdjustments(const AdjustmentChanges& changes) {
    if (m_adjustmentBinder) {
        m_adjustmentBinder->Show(changes);
    }
}

void CBrasquelDlg::ConnectAdjustmentHandlers() {
    for (const int id : kAdjustmentSliderIds) {
        connect(m_controls->ControlAs<QSlider>(id), &QAbstractSlider::actionTriggered, this,
                [this, id](int action) {
                    const int code = NotificationCode(action);
                    if (code < 0) {
                        return;
                    }
                    AdjustmentControls& adjustments = m_session->Adjustments();
                    if (adjustments.TakesSliderChange(code, id)) {
                        // The settings follow the controls before the device is written.
                        UpdateData(true);
                        // The thumb already stands where the action puts it.
                        ShowAdjustments(adjustments.OnHScroll(code, id, m_controls->SliderPos(id)));
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
        ShowAdjustments(m_session->Adjustments().ApplyDefaults());
        PublishSaveSettings();
    });
    onClick(ctl::kCustom, [this] { ShowAdjustments(m_session->Adjustments().OnCustom()); });
    for (const int id : {ctl::kSlide, ctl::kNegative, ctl::kBlackWhite}) {
        onClick(id, [this, id] { OnFilmTypeClicked(id); });
    }
}

void CBrasquelDlg::OnFilmTypeClicked(int id) {
    // The session tells of the slow part (the wait cursor), the adjustments and the access.
    if (contract::IsBusyStatus(m_session->SetFilmType(FilmTypeOf(id)))) {
        ShowDeviceLocked();
    }
}

void CBrasquelDlg::ShowFilmTypeAccess(const QString& problem, bool firstTold) {
    if (!m_controls) {
        return;  // before OnInitDialog
    }
    for (const int id : {ctl::kSlide, ctl::kNegative, ctl::kBlackWhite}) {
        m_controls->Control(id)->setToolTip(problem);
    }
    if (firstTold && m_reportError) {
        m_reportError(problem);
    }
}

}  // namespace zv
