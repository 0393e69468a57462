#pragma once

#include "device/property_slot.h"

#include <cstdint>
#include <variant>
#include <vector>

namespace zv {

// The slot as it now stands: its controls take its enabled state and, while it is supported,
// its range, page and line size, position and value text, or its radio mark.
struct SlotShown {
    PropertySlot slot;
};

// Only a slider's value text: the slider already stands where the value is.
struct ValueShown {
    int valueTextId = 0;
    std::int32_t value = 0;
};

// The Default / Custom pair: Custom marked (adjusted values) or Default.
struct AdjustmentMark {
    bool custom = false;
};

// The film type buttons: the film type in effect is marked (none for a value outside slide,
// negative and black and white), and Black&White can be clicked exactly while the film type can
// be written.
struct FilmTypeMark {
    int filmType = 0;
    bool writable = false;
};

// One thing the adjustments changed that the window shows.
using AdjustmentChange = std::variant<SlotShown, ValueShown, AdjustmentMark, FilmTypeMark>;

// What an adjustment operation changed, in the order it happened: shown in that order, a later
// entry wins over an earlier one for the same control (an unsupported slot's slider keeps what
// an earlier entry put there).
using AdjustmentChanges = std::vector<AdjustmentChange>;

}  // namespace zv
