#pragma once

#include <QString>

namespace zv {

// The window's controls addressed by id, as handlers below the window see them: what the
// platform's child-window calls do on a dialog (enable, show, texts, radio checks, trackbar
// positions and ranges). Implemented by the window over its widgets; GUI thread only.
class DialogControls {
public:
    virtual ~DialogControls() = default;

    virtual void enableControl(int id, bool on) = 0;
    virtual bool IsControlEnabled(int id) const = 0;
    virtual void showControl(int id, bool show) = 0;
    virtual void setControlText(int id, const QString& text) = 0;
    virtual QString controlText(int id) const = 0;

    // Checks `id` and unchecks every other radio button whose id lies in [first, last].
    virtual void checkRadioButton(int first, int last, int id) = 0;
    virtual bool IsRadioChecked(int id) const = 0;

    // Trackbars.
    virtual void SetSliderRange(int id, int minimum, int maximum) = 0;
    virtual void SetSliderPageSize(int id, int page) = 0;
    virtual void SetSliderLineSize(int id, int line) = 0;
    virtual void SetSliderPos(int id, int position) = 0;
    virtual int SliderPos(int id) const = 0;
};

}  // namespace zv
