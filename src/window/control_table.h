#pragma once

#include "resources/dialog_template.h"
#include "window/dialog_controls.h"
#include "window/dialog_units.h"

#include <QString>

#include <functional>
#include <map>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QWidget;

namespace zv {

// The controls of a dialog layout, built from its template and addressed by id, with the
// operations the window's handlers use on ids: enable, show, text, radio checks and radio-group
// values. GUI thread only. The widgets are children of the parent and owned by it.
class ControlTable final : public DialogControls {
public:
    // Makes the widget of a control the window binds to a class of its own; returning nullptr
    // lets the table create its standard widget for the control's kind.
    using CustomFactory = std::function<QWidget*(const ControlTemplate&, QWidget* parent)>;

    ControlTable(const DialogTemplate& dialog, QWidget* parent, const DialogUnits& units,
                 const CustomFactory& custom = {});
    ~ControlTable() override;
    ControlTable(const ControlTable&) = delete;
    ControlTable& operator=(const ControlTable&) = delete;

    // Every control id in template order.
    const std::vector<int>& Ids() const { return m_ids; }
    QWidget* Control(int id) const;
    template <typename Widget>
    Widget* ControlAs(int id) const {
        return qobject_cast<Widget*>(Control(id));
    }
    const ControlTemplate* Template(int id) const;

    void enableControl(int id, bool on) override;
    bool IsControlEnabled(int id) const;
    void showControl(int id, bool show);
    void setControlText(int id, const QString& text) override;
    QString controlText(int id) const;

    void checkRadioButton(int first, int last, int id) override;
    bool IsRadioChecked(int id) const;

    void SetSliderRange(int id, int minimum, int maximum) override;
    void SetSliderPageSize(int id, int page) override;
    void SetSliderLineSize(int id, int line) override;
    void SetSliderPos(int id, int position) override;
    int SliderPos(int id) const;
    // Position of the checked button among the radio buttons of the group that starts at
    // `firstId` (hidden buttons included), or -1 when none is checked.
    int RadioGroupValue(int firstId) const;
    // Checks the button at `position` of that group; any other position unchecks them all.
    void SetRadioGroupValue(int firstId, int position);
    // The radio button ids of the group that starts at `firstId`, in template order.
    std::vector<int> RadioGroup(int firstId) const;

private:
    QWidget* CreateStandard(const ControlTemplate& control, QWidget* parent);
    QButtonGroup* GroupOf(int radioId) const;
    static void SetChecked(QButtonGroup* group, QAbstractButton* button, bool checked);

    std::vector<int> m_ids;
    std::map<int, QWidget*> m_widgets;
    std::map<int, const ControlTemplate*> m_templates;
    // Radio groups by the id of the control that starts them, with their buttons' ids.
    std::map<int, QButtonGroup*> m_groups;
    std::map<int, std::vector<int>> m_groupRadios;
    std::map<int, int> m_radioGroupStart;
};

}  // namespace zv
