#include "device/adjustment_controls.h"

#include "device/trackbar_code.h"
#include "platform/devices/camera_control.h"
#include "platform/devices/property_control.h"
#include "platform/devices/scanner_contract.h"
#include "platform/devices/video_proc_amp.h"

#include <optional>
#include <utility>

namespace zv {

namespace {

constexpr SlotRef kSaturation{SlotTable::kVideo, devices::kVideoProcAmpSaturation};
constexpr SlotRef kBrightness{SlotTable::kVideo, devices::kVideoProcAmpBrightness};
constexpr SlotRef kContrast{SlotTable::kVideo, devices::kVideoProcAmpContrast};
constexpr SlotRef kGamma{SlotTable::kVideo, devices::kVideoProcAmpGamma};
constexpr SlotRef kRed{SlotTable::kCamera, devices::kCameraControlPan};
constexpr SlotRef kBlue{SlotTable::kCamera, devices::kCameraControlTilt};
constexpr SlotRef kFilmType{SlotTable::kCamera, PropertySlots::kFilmTypeSlot};
constexpr SlotRef kGreen{SlotTable::kCamera, devices::kCameraControlZoom};

// The adjustments black and white takes away.
constexpr SlotRef kColourAdjustments[] = {kSaturation, kGreen, kRed, kBlue};

}  // namespace

AdjustmentControls::AdjustmentControls(PropertySlots& propertySlots,
                                       std::function<bool()> isConnected)
    : m_slots(propertySlots), m_isConnected(std::move(isConnected)) {}

void AdjustmentControls::WriteAdjustment(SlotRef ref) {
    if (Failed(m_slots.WriteSlot(ref))) {
        // Show what the device holds rather than a value it did not take.
        // A slot that cannot be read either keeps what it showed.
        IgnoreStatus(m_slots.ReadSlot(ref));
    }
}

bool AdjustmentControls::TakesSliderChange(int notificationCode, int sliderId) const {
    if (!tb::WritesDevice(notificationCode)) {
        return false;
    }
    const std::optional<SlotRef> ref = m_slots.FindSliderSlot(sliderId);
    return ref.has_value() && m_slots.Slot(*ref).supported;
}

AdjustmentChanges AdjustmentControls::OnHScroll(int notificationCode, int sliderId, int position) {
    if (!TakesSliderChange(notificationCode, sliderId)) {
        return {};
    }
    const SlotRef ref = *m_slots.FindSliderSlot(sliderId);
    PropertySlot& slot = m_slots.Slot(ref);
    slot.value = position;
    WriteAdjustment(ref);
    if (slot.value == position) {
        m_slots.Note(ValueShown{slot.valueTextId, slot.value});
    } else {
        // The device refused the position: the slider and its text go back to its value.
        m_slots.ShowSlot(ref);
    }
    MarkAdjustments(true);
    return m_slots.TakeChanges();
}

void AdjustmentControls::MarkAdjustments(bool custom) {
    m_slots.Note(AdjustmentMark{custom});
}

AdjustmentChanges AdjustmentControls::ApplyDefaults() {
    ApplyDefaultValues();
    return m_slots.TakeChanges();
}

void AdjustmentControls::ApplyDefaultValues() {
    for (const SlotTable table : {SlotTable::kVideo, SlotTable::kCamera}) {
        for (int index = 0; index < PropertySlots::SlotCount(table); ++index) {
            const SlotRef ref{table, index};
            PropertySlot& slot = m_slots.Slot(ref);
            if (ref == kFilmType || !slot.enabled || !slot.supported) {
                continue;
            }
            if (slot.value == slot.defaultValue && slot.flags == 0) {
                continue;
            }
            slot.value = slot.defaultValue;
            slot.flags = slot.capsFlags & devices::kPropertyFlagsAuto;
            WriteAdjustment(ref);
            m_slots.ShowSlot(ref);
        }
    }
    MarkAdjustments(false);
}

AdjustmentChanges AdjustmentControls::OnCustom() {
    // Custom is the system's mark for adjusted values; the user cannot choose it.
    MarkAdjustments(false);
    return m_slots.TakeChanges();
}

FilmTypeOutcome AdjustmentControls::Outcome(Status status) {
    return {status, m_slots.TakeChanges()};
}

FilmTypeOutcome AdjustmentControls::OnSlide() {
    return Outcome(IsConnected() ? ApplyColourFilmType(kSlidePreset, true) : kFalse);
}

FilmTypeOutcome AdjustmentControls::OnNegative() {
    return Outcome(IsConnected() ? ApplyColourFilmType(kNegativePreset, true) : kFalse);
}

FilmTypeOutcome AdjustmentControls::ApplyConnectionFilmType() {
    return Outcome(IsConnected() ? ApplyColourFilmType(kNegativePreset, false) : kFalse);
}

FilmTypeOutcome AdjustmentControls::OnBlackWhite() {
    return Outcome(IsConnected() ? ApplyBlackWhite() : kFalse);
}

Status AdjustmentControls::ApplyBlackWhite() {
    const FilmTypePreset& preset = kBlackWhitePreset;
    const int before = m_slots.FilmType();
    for (const SlotRef ref : {kSaturation, kBrightness, kContrast}) {
        PropertySlot& slot = m_slots.Slot(ref);
        slot.supported = slot.deviceSupported;
    }
    LoadPresetDefaults(preset);
    // Zero saturation and neutral colour levels go to the device while it still takes them.
    ApplyDefaultValues();
    const Status written = WriteFilmType(preset, true);
    if (contract::IsBusyStatus(written) && before != kFilmTypeBlackWhite) {
        // The scanner keeps the colour film type it had: so do the adjustments. (Black and white
        // kept is black and white: it goes on below.)
        ApplyPresetAdjustments(before == kFilmTypeSlide ? kSlidePreset : kNegativePreset);
        return written;
    }
    SetColourAdjustmentsSupported(false);
    m_slots.ShowAllSlots();
    MarkFilmType();
    WriteGamma(preset);
    return written;
}

Status AdjustmentControls::ApplyColourFilmType(const FilmTypePreset& preset, bool keepWhenBusy) {
    const Status written = WriteFilmType(preset, keepWhenBusy);
    if (keepWhenBusy && contract::IsBusyStatus(written)) {
        MarkFilmType();  // the click's mark goes back to the film type in effect
        return written;
    }
    ApplyPresetAdjustments(preset);
    return written;
}

void AdjustmentControls::ApplyPresetAdjustments(const FilmTypePreset& preset) {
    SetColourAdjustmentsSupported(true);
    LoadPresetDefaults(preset);
    ApplyDefaultValues();
    m_slots.ShowAllSlots();
    MarkFilmType();
    WriteGamma(preset);
}

Status AdjustmentControls::WriteFilmType(const FilmTypePreset& preset, bool keepWhenBusy) {
    // The device is told slide or negative; the slot keeps the film type the system is in,
    // whether or not the device took the roll value, unless another program holds the device
    // and the film type is to stay then.
    PropertySlot& slot = m_slots.Slot(kFilmType);
    const int before = slot.value;
    slot.value = preset.roll;
    const Status written = m_slots.WriteSlot(kFilmType);
    slot.value = keepWhenBusy && contract::IsBusyStatus(written) ? before : preset.filmType;
    return written;
}

void AdjustmentControls::WriteGamma(const FilmTypePreset& preset) {
    // The gamma slot has no controls and is never read; its flags stay 0.
    m_slots.Slot(kGamma).value = preset.gamma;
    // The gamma slot has no controls to set back on a refusal.
    IgnoreStatus(m_slots.WriteSlot(kGamma));
}

void AdjustmentControls::LoadPresetDefaults(const FilmTypePreset& preset) {
    m_slots.Slot(kSaturation).defaultValue = preset.saturation;
    m_slots.Slot(kBrightness).defaultValue = preset.brightness;
    m_slots.Slot(kContrast).defaultValue = preset.contrast;
    m_slots.Slot(kRed).defaultValue = preset.red;
    m_slots.Slot(kGreen).defaultValue = preset.green;
    m_slots.Slot(kBlue).defaultValue = preset.blue;
}

void AdjustmentControls::SetColourAdjustmentsSupported(bool allowed) {
    for (const SlotRef ref : kColourAdjustments) {
        PropertySlot& slot = m_slots.Slot(ref);
        slot.supported = allowed && slot.deviceSupported;
    }
}

void AdjustmentControls::MarkFilmType() {
    // Black&White writes the film type too.
    m_slots.Note(FilmTypeMark{m_slots.FilmType(), m_slots.Slot(kFilmType).supported});
}

}  // namespace zv
