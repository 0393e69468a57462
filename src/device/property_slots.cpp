#include "device/property_slots.h"

#include "device/dialog_controls.h"
#include "device/slot_control_ids.h"
#include "platform/devices/filter_interfaces.h"

#include <cassert>
#include <limits>
#include <utility>

namespace zv {

namespace {

// The id `offset` places after `first`, when it lies in [first, last]; 0 (no button of the
// range) otherwise. Computed wide: the offset is a device value and may be anything.
int RadioInRange(int first, int last, std::int64_t offset) {
    const std::int64_t id = static_cast<std::int64_t>(first) + offset;
    return id >= first && id <= last ? static_cast<int>(id) : 0;
}

struct SliderBinding {
    SlotRef slot;
    int captionId;
    int sliderId;
    int valueTextId;
};

constexpr SliderBinding kSliderBindings[] = {
    {{SlotTable::kVideo, devices::kVideoProcAmpBrightness},
     slotctl::kBrightnessCaption,
     slotctl::kBrightnessSlider,
     slotctl::kBrightnessText},
    {{SlotTable::kVideo, devices::kVideoProcAmpContrast},
     slotctl::kContrastCaption,
     slotctl::kContrastSlider,
     slotctl::kContrastText},
    {{SlotTable::kVideo, devices::kVideoProcAmpSaturation},
     slotctl::kSaturationCaption,
     slotctl::kSaturationSlider,
     slotctl::kSaturationText},
    {{SlotTable::kCamera, devices::kCameraControlPan},
     slotctl::kRedCaption,
     slotctl::kRedSlider,
     slotctl::kRedText},
    {{SlotTable::kCamera, devices::kCameraControlTilt},
     slotctl::kBlueCaption,
     slotctl::kBlueSlider,
     slotctl::kBlueText},
    {{SlotTable::kCamera, devices::kCameraControlZoom},
     slotctl::kGreenCaption,
     slotctl::kGreenSlider,
     slotctl::kGreenText},
};

}  // namespace

PropertySlots::PropertySlots(DialogControls& controls) : m_controls(controls) {
    BindSlots();
}

PropertySlots::~PropertySlots() = default;

void PropertySlots::BindSlots() {
    for (const SliderBinding& binding : kSliderBindings) {
        PropertySlot& slot = Slot(binding.slot);
        slot.enabled = true;
        slot.kind = SlotKind::kSlider;
        slot.captionId = binding.captionId;
        slot.sliderId = binding.sliderId;
        slot.valueTextId = binding.valueTextId;
        slot.pageSize = kSliderPageSize;
    }
    // The film type: a radio group over Slide and Negative, without caption. Black&White lies
    // outside the range; the film type operations look after its mark.
    PropertySlot& filmType = m_cameraSlots[kFilmTypeSlot];
    filmType.enabled = true;
    filmType.kind = SlotKind::kRadioGroup;
    filmType.firstRadioId = slotctl::kSlide;
    filmType.lastRadioId = slotctl::kNegative;
}

int PropertySlots::SlotCount(SlotTable table) {
    return table == SlotTable::kVideo ? kVideoSlotCount : kCameraSlotCount;
}

PropertySlot& PropertySlots::Slot(SlotTable table, int index) {
    assert(index >= 0 && index < SlotCount(table));
    return table == SlotTable::kVideo ? m_videoSlots[static_cast<std::size_t>(index)]
                                      : m_cameraSlots[static_cast<std::size_t>(index)];
}

const PropertySlot& PropertySlots::Slot(SlotTable table, int index) const {
    return const_cast<PropertySlots*>(this)->Slot(table, index);
}

std::optional<SlotRef> PropertySlots::FindSliderSlot(int sliderId) const {
    if (sliderId == 0) {
        return std::nullopt;
    }
    for (const SlotTable table : {SlotTable::kVideo, SlotTable::kCamera}) {
        for (int index = 0; index < SlotCount(table); ++index) {
            const PropertySlot& slot = Slot(table, index);
            if (slot.enabled && slot.kind == SlotKind::kSlider && slot.sliderId == sliderId) {
                return SlotRef{table, index};
            }
        }
    }
    return std::nullopt;
}

devices::PropertyControl* PropertySlots::Interface(SlotTable table) const {
    if (table == SlotTable::kVideo) {
        return m_videoProcAmp.get();
    }
    return m_cameraControl.get();
}

void PropertySlots::ReleaseInterfaces() {
    m_cameraControl.reset();
    m_videoProcAmp.reset();
}

Status PropertySlots::LoadPropertySlots(const std::shared_ptr<media::Filter>& scannerFilter) {
    if (scannerFilter == nullptr) {
        return kFail;
    }
    ReleaseInterfaces();
    std::shared_ptr<devices::VideoProcAmp> videoProcAmp;
    const Status videoStatus = devices::QueryVideoProcAmp(scannerFilter, &videoProcAmp);
    std::shared_ptr<devices::CameraControl> cameraControl;
    const Status cameraStatus = devices::QueryCameraControl(scannerFilter, &cameraControl);
    const Status loaded = LoadPropertySlots(std::move(videoProcAmp), std::move(cameraControl));
    if (Failed(videoStatus)) {
        return videoStatus;
    }
    if (Failed(cameraStatus)) {
        return cameraStatus;
    }
    return loaded;
}

Status PropertySlots::LoadPropertySlots(std::shared_ptr<devices::VideoProcAmp> videoProcAmp,
                                        std::shared_ptr<devices::CameraControl> cameraControl) {
    m_videoProcAmp = std::move(videoProcAmp);
    m_cameraControl = std::move(cameraControl);
    bool allDefault = true;
    for (const SlotTable table : {SlotTable::kVideo, SlotTable::kCamera}) {
        devices::PropertyControl* device = Interface(table);
        for (int index = 0; index < SlotCount(table); ++index) {
            if (Slot(table, index).enabled) {
                LoadSlot({table, index}, device, &allDefault);
            }
        }
    }
    m_controls.checkRadioButton(slotctl::kDefault, slotctl::kCustom,
                                allDefault ? slotctl::kDefault : slotctl::kCustom);
    return m_videoProcAmp != nullptr && m_cameraControl != nullptr ? kOk : kNoInterface;
}

void PropertySlots::LoadSlot(SlotRef ref, devices::PropertyControl* device, bool* allDefault) {
    PropertySlot& slot = Slot(ref);
    // Without the interface, or when the device cannot give the property's range, the property
    // cannot be used on this device, whatever an earlier device reported for it.
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t steppingDelta = 0;
    std::int32_t defaultValue = 0;
    std::int32_t capsFlags = 0;
    if (device == nullptr || Failed(device->GetRange(ref.index, &minimum, &maximum, &steppingDelta,
                                                     &defaultValue, &capsFlags))) {
        slot.supported = false;
        slot.deviceSupported = false;
        return;
    }
    slot.supported = true;
    slot.deviceSupported = true;
    slot.minimum = minimum;
    slot.maximum = maximum;
    slot.steppingDelta = steppingDelta;
    slot.defaultValue = defaultValue;
    slot.capsFlags = capsFlags;

    std::int32_t value = 0;
    std::int32_t flags = 0;
    if (Failed(device->Get(ref.index, &value, &flags))) {
        // Nothing better is known of an unreadable value than the device's own default.
        value = defaultValue;
        flags = 0;
    }
    slot.value = value;
    slot.flags = flags;

    const bool isFilmType = ref.table == SlotTable::kCamera && ref.index == kFilmTypeSlot;
    if (!isFilmType && slot.value != slot.defaultValue) {
        *allDefault = false;
    }
}

Status PropertySlots::WriteSlot(SlotRef ref) {
    devices::PropertyControl* device = Interface(ref.table);
    if (device == nullptr) {
        return kFalse;
    }
    PropertySlot& slot = Slot(ref);
    std::int32_t held = slot.value;
    const Status status = device->SetAndRead(ref.index, slot.value, slot.flags, &held);
    if (Succeeded(status)) {
        slot.value = held;
    }
    return status;
}

QString PropertySlots::UnavailableReason(SlotRef ref) const {
    const devices::PropertyControl* device = Interface(ref.table);
    if (device == nullptr || Slot(ref.table, ref.index).supported) {
        return {};
    }
    return device->UnavailableReason(ref.index);
}

Status PropertySlots::ReadSlot(SlotRef ref) {
    devices::PropertyControl* device = Interface(ref.table);
    if (device == nullptr) {
        return kFalse;
    }
    std::int32_t value = 0;
    std::int32_t flags = 0;
    const Status status = device->Get(ref.index, &value, &flags);
    if (Succeeded(status)) {
        PropertySlot& slot = Slot(ref);
        slot.value = value;
        slot.flags = flags;
    }
    return status;
}

QString PropertySlots::ValueText(std::int32_t value) {
    return QString::number(value);
}

void PropertySlots::EnableIfBound(int id, bool on) {
    if (id != 0) {
        m_controls.enableControl(id, on);
    }
}

Status PropertySlots::RefreshSlotControls(const PropertySlot& slot) {
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

void PropertySlots::RefreshSlider(const PropertySlot& slot) {
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

void PropertySlots::RefreshRadioGroup(const PropertySlot& slot) {
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

void PropertySlots::RefreshCheckBox(const PropertySlot& slot) {
    EnableIfBound(slot.checkBoxId, slot.supported);
}

void PropertySlots::RefreshListBox(const PropertySlot& slot) {
    EnableIfBound(slot.captionId, slot.supported);
    EnableIfBound(slot.listBoxId, slot.supported);
}

void PropertySlots::RefreshAllSlotControls() {
    for (const SlotTable table : {SlotTable::kVideo, SlotTable::kCamera}) {
        for (int index = 0; index < SlotCount(table); ++index) {
            // The tables hold slots of known kinds only.
            IgnoreStatus(RefreshSlotControls(Slot(table, index)));
        }
    }
}

}  // namespace zv
