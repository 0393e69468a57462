// The adjustment model over the simulated scanner, shown in fake window controls through the
// binder, as the window shows it: the fixture the adjustment tests share.
#pragma once

#include "device/adjustment_controls.h"
#include "device/property_slots.h"
#include "device/trackbar_code.h"
#include "fake_dialog_controls.h"
#include "platform/devices/camera_control.h"
#include "platform/devices/video_proc_amp.h"
#include "platform/sim/sim_device_config.h"
#include "platform/sim/sim_device_filter.h"
#include "resources/control_ids.h"
#include "window/adjustment_binder.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace zv::test {

using sim::SimDeviceConfig;
using sim::SimPropertyWrite;

constexpr auto kVideo = sim::SimPropertyInterface::kVideoProcAmp;
constexpr auto kCamera = sim::SimPropertyInterface::kCameraControl;
constexpr int kManual = devices::kPropertyFlagsManual;
constexpr int kAuto = devices::kPropertyFlagsAuto;

inline SimPropertyWrite V(int property, std::int32_t value, std::int32_t flags = 0) {
    return {kVideo, property, value, flags, kOk};
}
inline SimPropertyWrite C(int property, std::int32_t value, std::int32_t flags = 0) {
    return {kCamera, property, value, flags, kOk};
}

constexpr int kBrightness = devices::kVideoProcAmpBrightness;
constexpr int kContrast = devices::kVideoProcAmpContrast;
constexpr int kSaturation = devices::kVideoProcAmpSaturation;
constexpr int kGamma = devices::kVideoProcAmpGamma;
constexpr int kRed = devices::kCameraControlPan;
constexpr int kBlue = devices::kCameraControlTilt;
constexpr int kRoll = devices::kCameraControlRoll;
constexpr int kGreen = devices::kCameraControlZoom;

// What a connection to the simulated scanner writes: the device's roll flags are manual as
// read; the adjustments go manual-only, so flags 0.
inline const std::vector<SimPropertyWrite> kConnectionWrites{
    C(kRoll, 1, kManual), V(kBrightness, 22), V(kContrast, 70), V(kSaturation, 55),
    C(kRed, 160),         C(kBlue, 100),      C(kGreen, 110),   V(kGamma, 400)};

// The controls black and white takes away, and those it leaves.
inline const std::vector<int> kColourControls{
    ctl::kSaturationCaption, ctl::kSaturationSlider, ctl::kSaturationText, ctl::kRedCaption,
    ctl::kRedSlider,         ctl::kRedText,          ctl::kGreenCaption,   ctl::kGreenSlider,
    ctl::kGreenText,         ctl::kBlueCaption,      ctl::kBlueSlider,     ctl::kBlueText};
inline const std::vector<int> kToneControls{ctl::kBrightnessCaption, ctl::kBrightnessSlider,
                                            ctl::kBrightnessText,    ctl::kContrastCaption,
                                            ctl::kContrastSlider,    ctl::kContrastText};

// The property slots and the window's controls they are shown in through the binder.
class ShownSlots {
protected:
    // Shows what an operation changed, as the window does; answers its status.
    Status Shown(Status status) {
        m_binder.Show(m_slots.TakeChanges());
        return status;
    }
    void Shown(const AdjustmentChanges& changes) { m_binder.Show(changes); }
    Status Shown(const FilmTypeOutcome& outcome) {
        m_binder.Show(outcome.changes);
        return outcome.status;
    }

    FakeDialogControls m_controls;
    AdjustmentBinder m_binder{m_controls};
    PropertySlots m_slots;
};

class AdjustmentControlsTest : public ::testing::Test, protected ShownSlots {
protected:
    // As the window connects a scanner: the slots are loaded, then Negative is applied.
    void Connect(SimDeviceConfig config = sim::ScannerDevice()) {
        m_device = sim::SimDeviceFilter::Create(std::move(config));
        m_connected = true;
        IgnoreStatus(Shown(m_slots.LoadPropertySlots(m_device)));
        IgnoreStatus(Shown(m_adjust.ApplyConnectionFilmType()));
    }
    void ClearLogs() {
        m_device->Log().Clear();
        m_controls.ClearCalls();
    }
    std::vector<SimPropertyWrite> Writes() const { return m_device->PropertyWrites(); }
    // The user moves a slider, and the window passes the change on.
    void Slide(int sliderId, int position, int code = tb::kThumbTrack) {
        m_controls.UserMoveSlider(sliderId, position);
        Shown(m_adjust.OnHScroll(code, sliderId, m_controls.SliderPos(sliderId)));
    }
    std::set<int> FilmTypeMarks() const {
        return m_controls.CheckedIn(ctl::kSlide, ctl::kBlackWhite);
    }
    bool DefaultMarked() const {
        return m_controls.CheckedIn(ctl::kDefault, ctl::kCustom) == std::set<int>{ctl::kDefault};
    }
    bool CustomMarked() const {
        return m_controls.CheckedIn(ctl::kDefault, ctl::kCustom) == std::set<int>{ctl::kCustom};
    }
    void ExpectEnabled(const std::vector<int>& ids, bool enabled) const {
        for (const int id : ids) {
            EXPECT_EQ(m_controls.IsControlEnabled(id), enabled) << id;
        }
    }

    bool m_connected = false;
    AdjustmentControls m_adjust{m_slots, [this] { return m_connected; }};
    std::shared_ptr<sim::SimDeviceFilter> m_device;
};

}  // namespace zv::test
