#include "window/control_table.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <cassert>

namespace zv {
namespace {

QString TemplateText(const ControlTemplate& control) {
    return QString::fromUtf8(control.text.data(), static_cast<qsizetype>(control.text.size()));
}

QLabel* CreateStatic(const ControlTemplate& control, QWidget* parent) {
    auto* label = new QLabel(TemplateText(control), parent);
    label->setTextFormat(Qt::PlainText);
    const Qt::Alignment horizontal =
        (control.style & kStyleCentred) ? Qt::AlignHCenter : Qt::AlignLeft;
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setWordWrap(!(control.style & kStyleLeftNoWordWrap));
    return label;
}

QLabel* CreatePicture(const ControlTemplate& control, QWidget* parent) {
    auto* picture = new QLabel(parent);
    picture->setPixmap(QPixmap(QString::fromUtf8(control.resource.data(),
                                                 static_cast<qsizetype>(control.resource.size()))));
    picture->setAlignment(Qt::AlignCenter);
    // Transparent: nothing is painted beneath the image.
    picture->setAutoFillBackground(false);
    picture->setAttribute(Qt::WA_TranslucentBackground, (control.style & kStyleTransparent) != 0);
    return picture;
}

QSlider* CreateTrackbar(QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setTickPosition(QSlider::NoTicks);
    return slider;
}

}  // namespace

ControlTable::ControlTable(const DialogTemplate& dialog, QWidget* parent, const DialogUnits& units,
                           const CustomFactory& custom) {
    int groupStart = 0;
    for (const ControlTemplate& control : dialog.controls) {
        if (control.style & kStyleGroup) {
            groupStart = control.id;
        }
        QWidget* widget = custom ? custom(control, parent) : nullptr;
        if (widget == nullptr) {
            widget = CreateStandard(control, parent);
        }
        widget->setGeometry(units.ToPixels(control.x, control.y, control.width, control.height));
        widget->setVisible(!(control.style & kStyleHidden));
        m_ids.push_back(control.id);
        m_widgets[control.id] = widget;
        m_templates[control.id] = &control;

        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            QButtonGroup*& group = m_groups[groupStart];
            if (group == nullptr) {
                group = new QButtonGroup(parent);
            }
            group->addButton(radio, control.id);
            m_groupRadios[groupStart].push_back(control.id);
            m_radioGroupStart[control.id] = groupStart;
        }
    }
}

ControlTable::~ControlTable() = default;

QWidget* ControlTable::CreateStandard(const ControlTemplate& control, QWidget* parent) {
    switch (control.kind) {
        case ControlKind::PushButton: {
            auto* button = new QPushButton(TemplateText(control), parent);
            button->setDefault((control.style & kStyleDefaultButton) != 0);
            return button;
        }
        case ControlKind::GroupBox:
            return new QGroupBox(TemplateText(control), parent);
        case ControlKind::Static:
            return CreateStatic(control, parent);
        case ControlKind::Trackbar:
            return CreateTrackbar(parent);
        case ControlKind::RadioButton:
            return new QRadioButton(TemplateText(control), parent);
        case ControlKind::Edit:
            return new QLineEdit(TemplateText(control), parent);
        case ControlKind::ComboBox:
            return new QComboBox(parent);
        case ControlKind::Picture:
            return CreatePicture(control, parent);
    }
    assert(false && "unknown control kind");
    return nullptr;
}

QWidget* ControlTable::Control(int id) const {
    const auto found = m_widgets.find(id);
    return found == m_widgets.end() ? nullptr : found->second;
}

const ControlTemplate* ControlTable::Template(int id) const {
    const auto found = m_templates.find(id);
    return found == m_templates.end() ? nullptr : found->second;
}

void ControlTable::enableControl(int id, bool on) {
    if (QWidget* widget = Control(id)) {
        widget->setEnabled(on);
    }
}

bool ControlTable::IsControlEnabled(int id) const {
    const QWidget* widget = Control(id);
    return widget != nullptr && widget->isEnabled();
}

void ControlTable::showControl(int id, bool show) {
    if (QWidget* widget = Control(id)) {
        widget->setVisible(show);
    }
}

void ControlTable::setControlText(int id, const QString& text) {
    QWidget* widget = Control(id);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
    } else if (widget != nullptr) {
        widget->setWindowTitle(text);
    }
}

QString ControlTable::controlText(int id) const {
    QWidget* widget = Control(id);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        return group->title();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    return widget != nullptr ? widget->windowTitle() : QString();
}

void ControlTable::SetSliderRange(int id, int minimum, int maximum) {
    if (auto* slider = ControlAs<QSlider>(id)) {
        slider->setRange(minimum, maximum);
    }
}

void ControlTable::SetSliderPageSize(int id, int page) {
    if (auto* slider = ControlAs<QSlider>(id)) {
        slider->setPageStep(page);
    }
}

void ControlTable::SetSliderLineSize(int id, int line) {
    if (auto* slider = ControlAs<QSlider>(id)) {
        slider->setSingleStep(line);
    }
}

void ControlTable::SetSliderPos(int id, int position) {
    if (auto* slider = ControlAs<QSlider>(id)) {
        slider->setValue(position);
    }
}

int ControlTable::SliderPos(int id) const {
    const auto* slider = ControlAs<QSlider>(id);
    // The thumb's position: during an action it is already where the action puts it.
    return slider != nullptr ? slider->sliderPosition() : 0;
}

QButtonGroup* ControlTable::GroupOf(int radioId) const {
    const auto start = m_radioGroupStart.find(radioId);
    return start == m_radioGroupStart.end() ? nullptr : m_groups.at(start->second);
}

void ControlTable::SetChecked(QButtonGroup* group, QAbstractButton* button, bool checked) {
    if (checked || !button->isChecked()) {
        button->setChecked(checked);
        return;
    }
    // An exclusive group refuses to uncheck its checked button directly.
    group->setExclusive(false);
    button->setChecked(false);
    group->setExclusive(true);
}

void ControlTable::checkRadioButton(int first, int last, int id) {
    for (int current = first; current <= last; ++current) {
        auto* radio = ControlAs<QRadioButton>(current);
        if (radio != nullptr) {
            SetChecked(GroupOf(current), radio, current == id);
        }
    }
}

bool ControlTable::IsRadioChecked(int id) const {
    const auto* radio = ControlAs<QRadioButton>(id);
    return radio != nullptr && radio->isChecked();
}

std::vector<int> ControlTable::RadioGroup(int firstId) const {
    const auto found = m_groupRadios.find(firstId);
    return found == m_groupRadios.end() ? std::vector<int>{} : found->second;
}

int ControlTable::RadioGroupValue(int firstId) const {
    const std::vector<int> radios = RadioGroup(firstId);
    for (std::size_t position = 0; position < radios.size(); ++position) {
        if (IsRadioChecked(radios[position])) {
            return static_cast<int>(position);
        }
    }
    return -1;
}

void ControlTable::SetRadioGroupValue(int firstId, int position) {
    const std::vector<int> radios = RadioGroup(firstId);
    for (std::size_t index = 0; index < radios.size(); ++index) {
        SetChecked(GroupOf(radios[index]), ControlAs<QRadioButton>(radios[index]),
                   static_cast<int>(index) == position);
    }
}

}  // namespace zv
