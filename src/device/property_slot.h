#pragma once

#include <cstdint>

namespace zv {

// How a slot's value is shown. The window's tables use sliders and one radio group only.
enum class SlotKind : std::int32_t {
    kSlider = 0,
    kRadioGroup = 1,
    kCheckBox = 2,
    kListBox = 3,
};

// One device picture property bound to the window's controls that show it: its bindings (fixed
// when the tables are built), its range and capabilities as the device reports them, and its
// current value and flags as last read from or written to the device. A control id of 0 means
// none. Lives in the tables of PropertySlots; GUI thread.
struct PropertySlot {
    // In use: only enabled slots are read from the device and take part in the Default logic.
    bool enabled = false;
    // The slot's controls are enabled while this is true. Loading sets it from the device; the
    // film type operations take it away from (and give it back to) some slots.
    bool supported = false;
    // What the device reported at the last load; the film type operations never enable a
    // property beyond it.
    bool deviceSupported = false;
    SlotKind kind = SlotKind::kSlider;

    int captionId = 0;
    int sliderId = 0;
    int valueTextId = 0;
    // A check box, or (for a slider) a box enabled and disabled together with it.
    int checkBoxId = 0;
    int listBoxId = 0;
    int firstRadioId = 0;
    int lastRadioId = 0;
    // The slider's page step.
    std::int32_t pageSize = 0;

    std::int32_t value = 0;
    // Control flags: automatic 1, manual 2 (devices::kPropertyFlagsAuto / kPropertyFlagsManual).
    std::int32_t flags = 0;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t steppingDelta = 0;
    // From the device at load; replaced by the film type's presets for the adjustments.
    std::int32_t defaultValue = 0;
    // Bit 1: the property can run in automatic mode.
    std::int32_t capsFlags = 0;
};

}  // namespace zv
