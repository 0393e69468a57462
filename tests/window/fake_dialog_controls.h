#pragma once

#include "window/dialog_controls.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <map>
#include <set>

namespace zv::test {

// The window's controls by id as the code under test sees them: behaves as a dialog's controls
// (radio marks within a range, trackbars that keep their position inside their range) and notes
// every call made to it. The User* operations are the user's doing and are not noted.
class FakeDialogControls final : public DialogControls {
public:
    struct Slider {
        int minimum = 0;
        int maximum = 100;
        int page = 0;
        int line = 0;
        int position = 0;
    };

    void enableControl(int id, bool on) override {
        m_enabled[id] = on;
        Note(QStringLiteral("enable %1 %2").arg(id).arg(on ? 1 : 0));
    }
    // Controls start enabled, as the enabling pass of a connected window leaves them.
    bool IsControlEnabled(int id) const {
        const auto found = m_enabled.find(id);
        return found == m_enabled.end() || found->second;
    }
    void showControl(int id, bool show) {
        Note(QStringLiteral("show %1 %2").arg(id).arg(show ? 1 : 0));
    }
    void setControlText(int id, const QString& text) override {
        m_texts[id] = text;
        Note(QStringLiteral("text %1 %2").arg(id).arg(text));
    }
    QString controlText(int id) const {
        const auto found = m_texts.find(id);
        return found == m_texts.end() ? QString() : found->second;
    }

    void checkRadioButton(int first, int last, int id) override {
        Mark(first, last, id);
        Note(QStringLiteral("check %1 %2 %3").arg(first).arg(last).arg(id));
    }
    bool IsRadioChecked(int id) const { return m_checked.count(id) != 0; }

    void SetSliderRange(int id, int minimum, int maximum) override {
        Slider& slider = m_sliders[id];
        slider.minimum = minimum;
        slider.maximum = maximum;
        slider.position = Clamp(slider, slider.position);
        Note(QStringLiteral("range %1 %2 %3").arg(id).arg(minimum).arg(maximum));
    }
    void SetSliderPageSize(int id, int page) override {
        m_sliders[id].page = page;
        Note(QStringLiteral("page %1 %2").arg(id).arg(page));
    }
    void SetSliderLineSize(int id, int line) override {
        m_sliders[id].line = line;
        Note(QStringLiteral("line %1 %2").arg(id).arg(line));
    }
    void SetSliderPos(int id, int position) override {
        Slider& slider = m_sliders[id];
        slider.position = Clamp(slider, position);
        Note(QStringLiteral("pos %1 %2").arg(id).arg(position));
    }
    int SliderPos(int id) const { return SliderOf(id).position; }

    // The user clicks a radio button of the group [first, last].
    void UserClickRadio(int id, int first, int last) { Mark(first, last, id); }
    // The user moves a slider (arrow keys, page keys, drag, Home, End): by `delta`, or to
    // `position`, always within its range.
    void UserStepSlider(int id, int delta) {
        Slider& slider = m_sliders[id];
        slider.position = Clamp(slider, slider.position + delta);
    }
    void UserMoveSlider(int id, int position) {
        Slider& slider = m_sliders[id];
        slider.position = Clamp(slider, position);
    }

    Slider SliderOf(int id) const {
        const auto found = m_sliders.find(id);
        return found == m_sliders.end() ? Slider{} : found->second;
    }
    // Marked radio buttons in [first, last].
    std::set<int> CheckedIn(int first, int last) const {
        return {m_checked.lower_bound(first), m_checked.upper_bound(last)};
    }

    const QStringList& Calls() const { return m_calls; }
    // Calls that named this id (as their first argument).
    QStringList CallsFor(int id) const {
        QStringList found;
        for (const QString& call : m_calls) {
            if (call.section(QLatin1Char(' '), 1, 1).toInt() == id) {
                found.append(call);
            }
        }
        return found;
    }
    void ClearCalls() { m_calls.clear(); }

private:
    static int Clamp(const Slider& slider, int position) {
        return std::max(slider.minimum, std::min(slider.maximum, position));
    }
    void Mark(int first, int last, int id) {
        if (first <= last) {
            m_checked.erase(m_checked.lower_bound(first), m_checked.upper_bound(last));
        }
        if (id >= first && id <= last) {
            m_checked.insert(id);
        }
    }
    void Note(const QString& call) { m_calls.append(call); }

    std::map<int, bool> m_enabled;
    std::map<int, QString> m_texts;
    std::set<int> m_checked;
    std::map<int, Slider> m_sliders;
    QStringList m_calls;
};

}  // namespace zv::test
