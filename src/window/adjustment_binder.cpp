#include "window/adjustment_binder.h"

#include "device/film_type_preset.h"
#include "resources/control_ids.h"
#include "window/dialog_controls.h"

#include <QString>

#include <cstdint>

namespace zv {

namespace {

// The id `offset` places after `first`, when it lies in [first, last]; 0 (no button of the
// range) otherwise. Computed wide: the offset is a device value and may be anything.
int RadioInRange(int first, int last, std::int64_t offset) {
    const std::int64_t id = static_cast<std::int64_t>(first) + offset;
    return id >= first && id <= last ? static_cast<int>(id) : 0;
}

// The value text of a slider: the value in decimal, in full.
QString ValueText(std::int32_t value) {
    return QString::number(value);
}

}  // namespace

void AdjustmentBinder::Show(const AdjustmentChanges& changes) {
    for (const AdjustmentChange& change : changes) {
        std::visit([this](const auto& shown) { Show(shown); }, change);
    }
}

void AdjustmentBinder::Show(const SlotShown& change) {
    // The tables hold slots of known kinds only.
    IgnoreStatus(RefreshSlotControls(change.slot));
}

void AdjustmentBinder::Show(const ValueShown& change) {
    m_controls.setControlText(change.valueTextId, ValueText(change.value));
}

void AdjustmentBinder::Show(const AdjustmentMark& change) {
    m_controls.checkRadioButton(ctl::kDefault, ctl::kCustom,
                                change.custom ? ctl::kCustom : ctl::kDefault);
}

void AdjustmentBinder::Show(const FilmTypeMark& change) {
    // Exactly one mark, the film type in effect; none for a value the buttons do not name.
    m_controls.checkRadioButton(
        ctl::kSlide, ctl::kBlackWhite,
        RadioInRange(ctl::kSlide, ctl::kSlide + kFilmTypeBlackWhite, change.filmType));
    m_controls.enableControl(ctl::kBlackWhite, change.writable);
}

void AdjustmentBinder::EnableIfBound(int id, bool on) {
    if (id != 0) {
        m_controls.enableControl(id, on);
    }
}

Status AdjustmentBinder::RefreshSlotControls(const PropertySlot& slot) {
    switch (slot.kind) {
        case SlotKind::kSlider:
            RefreshSlider(slot);
            return kOk;
        case SlotKind::kRadioGroup:
            RefreshRadioGroup(slot);
            return kOk;
        case SlotKind::kCheckBox:
            RefreshCheckBox(slot);
            return kOk;
        case SlotKind::kListBox:
            RefreshListBox(slot);
            return kOk;
    }
    return kFail;
}

void AdjustmentBinder::RefreshSlider(const PropertySlot& slot) {
    EnableIfBound(slot.captionId, slot.supported);
    EnableIfBound(slot.sliderId, slot.supported);
    EnableIfBound(slot.valueTextId, slot.supported);
    EnableIfBound(slot.checkBoxId, slot.supported);
    // An unsupported slider keeps what it showed.
    if (!slot.supported) {
        return;
    }
    // The position is the property value itself: no offset, scale or inversion.
    if (slot.sliderId != 0) {
        m_controls.SetSliderRange(slot.sliderId, slot.minimum, slot.maximum);
        m_controls.SetSliderPageSize(slot.sliderId, slot.pageSize);
        m_controls.SetSliderLineSize(slot.sliderId, slot.steppingDelta);
        m_controls.SetSliderPos(slot.sliderId, slot.value);
    }
    if (slot.valueTextId != 0) {
        m_controls.setControlText(slot.valueTextId, ValueText(slot.value));
    }
}

void AdjustmentBinder::RefreshRadioGroup(const PropertySlot& slot) {
    EnableIfBound(slot.captionId, slot.supported);
    const bool hasRange =
        slot.firstRadioId != 0 && slot.lastRadioId != 0 && slot.lastRadioId >= slot.firstRadioId;
    if (!hasRange) {
        return;
    }
    for (int id = slot.firstRadioId; id <= slot.lastRadioId; ++id) {
        m_controls.enableControl(id, slot.supported);
    }
    if (slot.supported) {
        // A value outside the range (the film type's black and white) marks none of it.
        m_controls.checkRadioButton(slot.firstRadioId, slot.lastRadioId,
                                    RadioInRange(slot.firstRadioId, slot.lastRadioId, slot.value));
    }
}

void AdjustmentBinder::RefreshCheckBox(const PropertySlot& slot) {
    EnableIfBound(slot.checkBoxId, slot.supported);
}

void AdjustmentBinder::RefreshListBox(const PropertySlot& slot) {
    EnableIfBound(slot.captionId, slot.supported);
    EnableIfBound(slot.listBoxId, slot.supported);
}

}  // namespace zv
