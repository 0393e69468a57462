#pragma once

namespace zv {

// Check boxes and list boxes of the window, for property slots of those kinds. The window's
// slot tables bind none, so a window without such controls need not provide this; slots of
// these kinds then get their enabled state only. GUI thread.
class SlotChoiceControls {
public:
    virtual ~SlotChoiceControls() = default;

    virtual void CheckDlgButton(int id, bool checked) = 0;
    // Selects entry `index` of the list; -1 clears the selection.
    virtual void SetListSelection(int id, int index) = 0;
};

}  // namespace zv
