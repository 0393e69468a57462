#pragma once

#include <QString>

namespace zv {

// The controls the adjustment binder writes, addressed by id: enable, texts, radio marks and
// trackbar ranges and positions. Implemented by the window's control table; GUI thread only.
class DialogControls {
public:
    virtual ~DialogControls() = default;

    virtual void enableControl(int id, bool on) = 0;
    virtual void setControlText(int id, const QString& text) = 0;

    // Checks `id` and unchecks every other radio button whose id lies in [first, last].
    virtual void checkRadioButton(int first, int last, int id) = 0;

    // Trackbars.
    virtual void SetSliderRange(int id, int minimum, int maximum) = 0;
    virtual void SetSliderPageSize(int id, int page) = 0;
    virtual void SetSliderLineSize(int id, int line) = 0;
    virtual void SetSliderPos(int id, int position) = 0;
};

}  // namespace zv
