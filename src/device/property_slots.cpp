#include "device/property_slots.h"

#include "platform/devices/filter_interfaces.h"
#include "resources/control_ids.h"

#include <cassert>
#include <utility>

namespace zv {

namespace {

struct SliderBinding {
    SlotRef slot;
    int captionId;
    int sliderId;
    int valueTextId;
};

constexpr SliderBinding kSliderBindings[] = {
    {{SlotTable::kVideo, devices::kVideoProcAmpBrightness},
     ctl::kBrightnessCaption,
     ctl::kBrightnessSlider,
     ctl::kBrightnessText},
    {{SlotTable::kVideo, devices::kVideoProcAmpContrast},
     ctl::kContrastCaption,
     ctl::kContrastSlider,
     ctl::kContrastText},
    {{SlotTable::kVideo, devices::kVideoProcAmpSaturation},
     ctl::kSaturationCaption,
     ctl::kSaturationSlider,
     ctl::kSaturationText},
    {{SlotTable::kCamera, devices::kCameraControlPan},
     ctl::kRedCaption,
     ctl::kRedSlider,
     ctl::kRedText},
    {{SlotTable::kCamera, devices::kCameraControlTilt},
     ctl::kBlueCaption,
     ctl::kBlueSlider,
     ctl::kBlueText},
    {{SlotTable::kCamera, devices::kCameraControlZoom},
     ctl::kGreenCaption,
     ctl::kGreenSlider,
     ctl::kGreenText},
};

}  // namespace

PropertySlots::PropertySlots() {
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
    filmType.firstRadioId = ctl::kSlide;
    filmType.lastRadioId = ctl::kNegative;
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
    Note(AdjustmentMark{!allDefault});
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

void PropertySlots::ShowSlot(SlotRef ref) {
    Note(SlotShown{Slot(ref)});
}

void PropertySlots::ShowAllSlots() {
    for (const SlotTable table : {SlotTable::kVideo, SlotTable::kCamera}) {
        for (int index = 0; index < SlotCount(table); ++index) {
            ShowSlot({table, index});
        }
    }
}

}  // namespace zv
