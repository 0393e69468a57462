#pragma once

#include "device/film_type_preset.h"
#include "device/property_slots.h"

#include <functional>

namespace zv {

// The user's handles on the picture: the six adjustment sliders, the Default / Custom pair and
// the Slide / Negative / Black&White film types. Every handler acts on the device at once,
// through the property slots; there is no apply step.
// The window owns one next to its PropertySlots and forwards its controls' actions here.
// GUI thread only; device writes are synchronous calls on it.
class AdjustmentControls {
public:
    // `isConnected` tells whether a scanner is connected; the film type operations do nothing
    // while it answers false. `propertySlots` outlives this object.
    AdjustmentControls(PropertySlots& propertySlots, std::function<bool()> isConnected);

    // Called before a handled slider change reads its slider, so that the window's exchanged
    // settings follow the controls (the window's exchange from the controls). Optional.
    void SetExchangeFromControls(std::function<void()> exchange) {
        m_exchangeFromControls = std::move(exchange);
    }

    // A slider change with its notification code (tb::k...). Line up/down, page up/down and
    // thumb track store the slider's position as the property's value, write it, show it and
    // mark Custom; the other codes, sliders of unsupported slots and controls that are no
    // adjustment slider change nothing.
    void OnHScroll(int notificationCode, int sliderId);
    // Click on Default (and part of every film type operation): each supported adjustment not
    // already at its default (with flags 0) is set to it, in automatic mode where the property
    // offers it, written and shown; then Default is marked.
    void ApplyDefaults();
    // Click on Custom: the mark goes back to Default; nothing is written.
    void OnCustom();
    // The film type buttons; the Negative operation also ends every connection. Each answers how
    // the scanner took the film type (kFalse while no scanner is connected). While another
    // program holds the scanner (a busy status) the film type stays as it was: nothing else is
    // applied, and black and white, whose adjustments go first, returns to the film type before.
    // Only when the film type cannot be written at all are the film type buttons disabled,
    // Black&White with them.
    Status OnSlide();
    Status OnNegative();
    Status OnBlackWhite();
    // The Negative operation that begins every connection: applied whatever the scanner answers
    // (a scanner held by another program cannot preview or scan either; the next connection
    // writes it again).
    Status ApplyConnectionFilmType();

private:
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
    // The film type buttons carry exactly one mark, the film type in effect; Black&White is
    // enabled exactly while the film type can be written, as Slide and Negative are.
    void MarkFilmType();
    // Writes an adjustment; when the device refuses, the slot takes what the device holds.
    void WriteAdjustment(SlotRef ref);
    bool IsConnected() const { return m_isConnected && m_isConnected(); }

    PropertySlots& m_slots;
    std::function<bool()> m_isConnected;
    std::function<void()> m_exchangeFromControls;
};

}  // namespace zv
