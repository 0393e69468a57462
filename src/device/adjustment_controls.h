#pragma once

#include "device/adjustment_change.h"
#include "device/film_type_preset.h"
#include "device/property_slots.h"
#include "platform/status.h"

#include <functional>

namespace zv {

// The user's handles on the picture: the six adjustment sliders, the Default / Custom pair and
// the Slide / Negative / Black&White film types. Every handler acts on the device at once,
// through the property slots; there is no apply step. Each answers what it changed, for the
// window to show; nothing here reads or writes a widget.
// The window owns one next to its PropertySlots and forwards its controls' actions here.
// GUI thread only; device writes are synchronous calls on it.
// How the scanner took a film type, and what the operation changed.
struct [[nodiscard]] FilmTypeOutcome {
    Status status = kFalse;
    AdjustmentChanges changes;
};

class AdjustmentControls {
public:
    // `isConnected` tells whether a scanner is connected; the film type operations do nothing
    // while it answers false. `propertySlots` outlives this object.
    AdjustmentControls(PropertySlots& propertySlots, std::function<bool()> isConnected);

    // Whether a slider change with this notification code (tb::k...) on this control writes the
    // device: line up/down, page up/down and thumb track on the slider of a supported slot. The
    // window exchanges from its controls before passing such a change on.
    bool TakesSliderChange(int notificationCode, int sliderId) const;
    // A slider change with its notification code and the slider's new position. A change it
    // takes stores the position as the property's value, writes it and marks Custom; the slider
    // and its text show what the device holds. Other changes change nothing.
    [[nodiscard]] AdjustmentChanges OnHScroll(int notificationCode, int sliderId, int position);
    // Click on Default (and part of every film type operation): each supported adjustment not
    // already at its default (with flags 0) is set to it, in automatic mode where the property
    // offers it, and written; then Default is marked.
    [[nodiscard]] AdjustmentChanges ApplyDefaults();
    // Click on Custom: the mark goes back to Default; nothing is written.
    [[nodiscard]] AdjustmentChanges OnCustom();
    // The film type buttons; the Negative operation also ends every connection. Each answers how
    // the scanner took the film type (kFalse while no scanner is connected) and what changed.
    // While another
    // program holds the scanner (a busy status) the film type stays as it was: nothing else is
    // applied, and black and white, whose adjustments go first, returns to the film type before.
    // Only when the film type cannot be written at all are the film type buttons disabled,
    // Black&White with them.
    FilmTypeOutcome OnSlide();
    FilmTypeOutcome OnNegative();
    FilmTypeOutcome OnBlackWhite();
    // The Negative operation that begins every connection: applied whatever the scanner answers
    // (a scanner held by another program cannot preview or scan either; the next connection
    // writes it again).
    FilmTypeOutcome ApplyConnectionFilmType();

private:
    // The status with the changes noted so far.
    FilmTypeOutcome Outcome(Status status);
    Status ApplyBlackWhite();
    // Slide and Negative; `keepWhenBusy`: a busy scanner keeps the film type it has.
    Status ApplyColourFilmType(const FilmTypePreset& preset, bool keepWhenBusy);
    // The adjustments of `preset` without writing the film type (the scanner has it already).
    void ApplyPresetAdjustments(const FilmTypePreset& preset);
    void LoadPresetDefaults(const FilmTypePreset& preset);
    Status WriteFilmType(const FilmTypePreset& preset, bool keepWhenBusy);
    void WriteGamma(const FilmTypePreset& preset);
    // Saturation and the colour levels follow black and white: off while it is in effect,
    // otherwise as the device reported them.
    void SetColourAdjustmentsSupported(bool allowed);
    // Notes the film type buttons' mark: the film type in effect; Black&White is enabled
    // exactly while the film type can be written, as Slide and Negative are.
    void MarkFilmType();
    // ApplyDefaults without taking the changes: film type operations go on after it.
    void ApplyDefaultValues();
    // Notes Default (or Custom) among the changes.
    void MarkAdjustments(bool custom);
    // Writes an adjustment; when the device refuses, the slot takes what the device holds.
    void WriteAdjustment(SlotRef ref);
    bool IsConnected() const { return m_isConnected && m_isConnected(); }

    PropertySlots& m_slots;
    std::function<bool()> m_isConnected;
};

}  // namespace zv
