#pragma once

#include "device/adjustment_change.h"
#include "device/property_slot.h"
#include "platform/status.h"

namespace zv {

class DialogControls;

// Writes what the adjustments changed to the window's controls: a slot's enabled state, slider
// range, position and value text, the film type and Default / Custom marks. The only code that
// brings those controls into line with the property slots. GUI thread only.
class AdjustmentBinder {
public:
    // `controls` outlive the binder.
    explicit AdjustmentBinder(DialogControls& controls) : m_controls(controls) {}

    // Every change, in order.
    void Show(const AdjustmentChanges& changes);

    // Shows the slot in its controls: enabled state from `supported`, then (when supported)
    // slider range, page and line size, position and value text, or the radio mark, check mark
    // or list selection. kFail for an unknown kind, with nothing touched.
    Status RefreshSlotControls(const PropertySlot& slot);

private:
    void Show(const SlotShown& change);
    void Show(const ValueShown& change);
    void Show(const AdjustmentMark& change);
    void Show(const FilmTypeMark& change);
    void EnableIfBound(int id, bool on);
    void RefreshSlider(const PropertySlot& slot);
    void RefreshRadioGroup(const PropertySlot& slot);
    void RefreshCheckBox(const PropertySlot& slot);
    void RefreshListBox(const PropertySlot& slot);

    DialogControls& m_controls;
};

}  // namespace zv
