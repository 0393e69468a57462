#include "device/adjustment_controls.h"

#include "device/property_slots.h"
#include "device/scripted_properties.h"
#include "device/trackbar_code.h"
#include "fake_dialog_controls.h"
#include "platform/devices/camera_control.h"
#include "platform/devices/scanner_contract.h"
#include "platform/devices/video_proc_amp.h"
#include "platform/sim/sim_device_config.h"
#include "platform/sim/sim_device_filter.h"
#include "resources/control_ids.h"
#include "window/adjustment_binder.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace zv {
namespace {

using sim::SimDeviceConfig;
using sim::SimPropertyWrite;
using test::FakeDialogControls;

constexpr auto kVideo = sim::SimPropertyInterface::kVideoProcAmp;
constexpr auto kCamera = sim::SimPropertyInterface::kCameraControl;
constexpr int kManual = devices::kPropertyFlagsManual;
constexpr int kAuto = devices::kPropertyFlagsAuto;

SimPropertyWrite V(int property, std::int32_t value, std::int32_t flags = 0) {
    return {kVideo, property, value, flags, kOk};
}
SimPropertyWrite C(int property, std::int32_t value, std::int32_t flags = 0) {
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
const std::vector<SimPropertyWrite> kConnectionWrites{
    C(kRoll, 1, kManual), V(kBrightness, 22), V(kContrast, 70), V(kSaturation, 55),
    C(kRed, 160),         C(kBlue, 100),      C(kGreen, 110),   V(kGamma, 400)};

// The controls black and white takes away, and those it leaves.
const std::vector<int> kColourControls{
    ctl::kSaturationCaption, ctl::kSaturationSlider, ctl::kSaturationText, ctl::kRedCaption,
    ctl::kRedSlider,         ctl::kRedText,          ctl::kGreenCaption,   ctl::kGreenSlider,
    ctl::kGreenText,         ctl::kBlueCaption,      ctl::kBlueSlider,     ctl::kBlueText};
const std::vector<int> kToneControls{ctl::kBrightnessCaption, ctl::kBrightnessSlider,
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

TEST_F(AdjustmentControlsTest, ConnectionWritesTheNegativePresetsInOrder) {
    Connect();
    EXPECT_EQ(Writes(), kConnectionWrites);
    EXPECT_EQ(m_slots.FilmType(), 1);
    EXPECT_TRUE(DefaultMarked());
    EXPECT_EQ(FilmTypeMarks(), std::set<int>{ctl::kNegative});
    const std::vector<std::pair<int, int>> shown{
        {ctl::kSaturationText, 55}, {ctl::kBrightnessText, 22}, {ctl::kContrastText, 70},
        {ctl::kRedText, 160},       {ctl::kGreenText, 110},     {ctl::kBlueText, 100}};
    for (const auto& [text, value] : shown) {
        EXPECT_EQ(m_controls.controlText(text), QString::number(value)) << text;
    }
    EXPECT_EQ(m_controls.SliderPos(ctl::kBrightnessSlider), 22);
    ExpectEnabled(kColourControls, true);
}

// ---- Film type operations, from a connected scanner ----

using Operation = FilmTypeOutcome (AdjustmentControls::*)();

struct FilmTypeCase {
    const char* name;
    std::vector<Operation> before;
    Operation operation;
    std::vector<SimPropertyWrite> writes;
    int filmType;
    int marked;
    bool coloursEnabled;
};

class FilmTypeTest : public AdjustmentControlsTest,
                     public ::testing::WithParamInterface<FilmTypeCase> {};

TEST_P(FilmTypeTest, WritesInOrderAndShowsTheFilmType) {
    const FilmTypeCase& c = GetParam();
    Connect();
    for (const Operation before : c.before) {
        IgnoreStatus(Shown((m_adjust.*before)()));
    }
    ClearLogs();
    IgnoreStatus(Shown((m_adjust.*c.operation)()));
    EXPECT_EQ(Writes(), c.writes);
    EXPECT_EQ(m_slots.FilmType(), c.filmType);
    EXPECT_EQ(FilmTypeMarks(), std::set<int>{c.marked});
    EXPECT_TRUE(DefaultMarked());
    ExpectEnabled(kColourControls, c.coloursEnabled);
    ExpectEnabled(kToneControls, true);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FilmTypeTest,
    ::testing::Values(FilmTypeCase{"Slide",
                                   {},
                                   &AdjustmentControls::OnSlide,
                                   {C(kRoll, 0, kManual), V(kBrightness, 15), V(kContrast, 45),
                                    V(kSaturation, 45), C(kRed, 128), C(kBlue, 128), C(kGreen, 128),
                                    V(kGamma, 300)},
                                   0,
                                   ctl::kSlide,
                                   true},
                      // Everything is at the presets already.
                      FilmTypeCase{"NegativeAgain",
                                   {},
                                   &AdjustmentControls::OnNegative,
                                   {C(kRoll, 1, kManual), V(kGamma, 400)},
                                   1,
                                   ctl::kNegative,
                                   true},
                      // Processed as a negative with no saturation and neutral levels, written
                      // before the roll.
                      FilmTypeCase{
                          "BlackWhite",
                          {},
                          &AdjustmentControls::OnBlackWhite,
                          {V(kBrightness, -25), V(kContrast, 50), V(kSaturation, 0), C(kRed, 128),
                           C(kBlue, 128), C(kGreen, 128), C(kRoll, 1, kManual), V(kGamma, 400)},
                          2,
                          ctl::kBlackWhite,
                          false},
                      FilmTypeCase{"BlackWhiteAgain",
                                   {&AdjustmentControls::OnBlackWhite},
                                   &AdjustmentControls::OnBlackWhite,
                                   {C(kRoll, 1, kManual), V(kGamma, 400)},
                                   2,
                                   ctl::kBlackWhite,
                                   false},
                      // The levels are at 128 already: only what differs is written.
                      FilmTypeCase{"SlideAfterBlackWhite",
                                   {&AdjustmentControls::OnBlackWhite},
                                   &AdjustmentControls::OnSlide,
                                   {C(kRoll, 0, kManual), V(kBrightness, 15), V(kContrast, 45),
                                    V(kSaturation, 45), V(kGamma, 300)},
                                   0,
                                   ctl::kSlide,
                                   true},
                      FilmTypeCase{"NegativeAfterBlackWhite",
                                   {&AdjustmentControls::OnBlackWhite},
                                   &AdjustmentControls::OnNegative,
                                   {C(kRoll, 1, kManual), V(kBrightness, 22), V(kContrast, 70),
                                    V(kSaturation, 55), C(kRed, 160), C(kBlue, 100), C(kGreen, 110),
                                    V(kGamma, 400)},
                                   1,
                                   ctl::kNegative,
                                   true}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(AdjustmentControlsTest, SlideAfterBlackWhiteShowsTheSlidePresets) {
    Connect();
    IgnoreStatus(Shown(m_adjust.OnBlackWhite()));
    IgnoreStatus(Shown(m_adjust.OnSlide()));
    EXPECT_EQ(m_controls.SliderPos(ctl::kSaturationSlider), 45);
    EXPECT_EQ(m_controls.controlText(ctl::kSaturationText), QStringLiteral("45"));
    for (const int text : {ctl::kRedText, ctl::kGreenText, ctl::kBlueText}) {
        EXPECT_EQ(m_controls.controlText(text), QStringLiteral("128")) << text;
    }
    std::int32_t value = 0;
    std::int32_t flags = 0;
    ASSERT_EQ(m_device->GetCameraControl()->Get(kGreen, &value, &flags), kOk);
    EXPECT_EQ(value, 128);
}

TEST_F(AdjustmentControlsTest, ClickedBlackWhiteLosesItsMarkToTheNextConnection) {
    Connect();
    m_controls.UserClickRadio(ctl::kBlackWhite, ctl::kSlide, ctl::kBlackWhite);
    IgnoreStatus(Shown(m_adjust.OnBlackWhite()));
    Connect();
    EXPECT_EQ(FilmTypeMarks(), std::set<int>{ctl::kNegative});
}

TEST_F(AdjustmentControlsTest, FilmTypesDoNothingWithoutAScanner) {
    m_device = sim::SimDeviceFilter::Create(sim::ScannerDevice());
    IgnoreStatus(Shown(m_slots.LoadPropertySlots(m_device)));
    ClearLogs();
    for (const Operation operation : {&AdjustmentControls::OnSlide, &AdjustmentControls::OnNegative,
                                      &AdjustmentControls::OnBlackWhite}) {
        IgnoreStatus(Shown((m_adjust.*operation)()));
    }
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(m_controls.Calls().isEmpty());
    EXPECT_EQ(m_slots.FilmType(), 0);
}

TEST_F(AdjustmentControlsTest, MissingSaturationStaysOffThroughEveryFilmType) {
    SimDeviceConfig config = sim::ScannerDevice();
    std::erase_if(config.videoProperties,
                  [](const auto& property) { return property.index == kSaturation; });
    Connect(config);
    for (const Operation operation :
         {&AdjustmentControls::OnBlackWhite, &AdjustmentControls::OnSlide,
          &AdjustmentControls::OnNegative}) {
        IgnoreStatus(Shown((m_adjust.*operation)()));
        EXPECT_FALSE(m_controls.IsControlEnabled(ctl::kSaturationSlider));
        EXPECT_FALSE(m_controls.IsControlEnabled(ctl::kSaturationText));
    }
    for (const SimPropertyWrite& write : Writes()) {
        EXPECT_FALSE(write.target == kVideo && write.property == kSaturation);
    }
}

TEST_F(AdjustmentControlsTest, WithoutVideoProcAmpOnlyCameraPropertiesAreWritten) {
    SimDeviceConfig config = sim::ScannerDevice();
    config.hasVideoProcAmp = false;
    Connect(config);
    EXPECT_EQ(Writes(), (std::vector<SimPropertyWrite>{C(kRoll, 1, kManual), C(kRed, 160),
                                                       C(kBlue, 100), C(kGreen, 110)}));
    ExpectEnabled(kToneControls, false);
    EXPECT_FALSE(m_controls.IsControlEnabled(ctl::kSaturationSlider));
}

TEST_F(AdjustmentControlsTest, WithoutCameraControlTheFilmTypeStillChanges) {
    SimDeviceConfig config = sim::ScannerDevice();
    config.hasCameraControl = false;
    Connect(config);
    EXPECT_EQ(Writes(), (std::vector<SimPropertyWrite>{V(kBrightness, 22), V(kContrast, 70),
                                                       V(kSaturation, 55), V(kGamma, 400)}));
    EXPECT_EQ(m_slots.FilmType(), 1);
    // Black&White writes the film type too: all three are off.
    ExpectEnabled({ctl::kSlide, ctl::kNegative, ctl::kBlackWhite}, false);
    EXPECT_FALSE(m_controls.IsControlEnabled(ctl::kRedSlider));
    IgnoreStatus(Shown(m_adjust.OnBlackWhite()));
    EXPECT_EQ(m_slots.FilmType(), 2);
}

// ---- A scanner held by another program, and one that rounds what it is given ----

class ScriptedScannerTest : public ::testing::Test, protected ShownSlots {
protected:
    ScriptedScannerTest() {
        for (const int index : {kBrightness, kContrast, kSaturation, kGamma}) {
            m_video->properties[index] = {.minimum = -100, .maximum = 500};
        }
        for (const int index : {kRed, kBlue, kGreen}) {
            m_camera->properties[index] = {.minimum = 0, .maximum = 255};
        }
        m_camera->properties[kRoll] = {.minimum = 0, .maximum = 1, .value = 0};
        IgnoreStatus(Shown(m_slots.LoadPropertySlots(m_video, m_camera)));
        IgnoreStatus(Shown(m_adjust.ApplyConnectionFilmType()));
    }

    // The device's values of the adjustments, as the Negative presets set them.
    bool AtTheNegativePresets() const {
        const auto video = [&](int index) { return m_video->properties.at(index).value; };
        const auto camera = [&](int index) { return m_camera->properties.at(index).value; };
        return video(kSaturation) == 55 && video(kBrightness) == 22 && video(kContrast) == 70 &&
               video(kGamma) == 400 && camera(kRed) == 160 && camera(kGreen) == 110 &&
               camera(kBlue) == 100 && camera(kRoll) == 1;
    }

    std::shared_ptr<test::ScriptedProperties<devices::VideoProcAmp>> m_video =
        std::make_shared<test::ScriptedProperties<devices::VideoProcAmp>>();
    std::shared_ptr<test::ScriptedProperties<devices::CameraControl>> m_camera =
        std::make_shared<test::ScriptedProperties<devices::CameraControl>>();
    AdjustmentControls m_adjust{m_slots, [] { return true; }};
};

class BusyFilmTypeTest : public ScriptedScannerTest,
                         public ::testing::WithParamInterface<Operation> {};

TEST_P(BusyFilmTypeTest, KeepsTheFilmTypeAndItsAdjustments) {
    ASSERT_TRUE(AtTheNegativePresets());
    m_camera->properties[kRoll].setResult = contract::kBusySharingViolation;
    EXPECT_EQ(Shown((m_adjust.*GetParam())()), contract::kBusySharingViolation);
    EXPECT_EQ(m_slots.FilmType(), 1);
    EXPECT_EQ(m_controls.CheckedIn(ctl::kSlide, ctl::kBlackWhite), std::set<int>{ctl::kNegative});
    EXPECT_TRUE(AtTheNegativePresets());
    EXPECT_EQ(m_controls.controlText(ctl::kSaturationText), QStringLiteral("55"));
    EXPECT_TRUE(m_controls.IsControlEnabled(ctl::kSaturationSlider));
    EXPECT_TRUE(m_controls.IsControlEnabled(ctl::kBlackWhite));
}

INSTANTIATE_TEST_SUITE_P(Operations, BusyFilmTypeTest,
                         ::testing::Values(&AdjustmentControls::OnSlide,
                                           &AdjustmentControls::OnBlackWhite));

TEST_F(ScriptedScannerTest, BlackWhiteAgainWhileBusyStaysBlackWhite) {
    ASSERT_EQ(Shown(m_adjust.OnBlackWhite()), kOk);
    m_camera->properties[kRoll].setResult = contract::kBusySharingViolation;
    EXPECT_EQ(Shown(m_adjust.OnBlackWhite()), contract::kBusySharingViolation);
    EXPECT_EQ(m_slots.FilmType(), 2);
    EXPECT_EQ(m_controls.CheckedIn(ctl::kSlide, ctl::kBlackWhite), std::set<int>{ctl::kBlackWhite});
    EXPECT_EQ(m_video->properties.at(kSaturation).value, 0);
    EXPECT_FALSE(m_controls.IsControlEnabled(ctl::kSaturationSlider));
}

TEST_F(ScriptedScannerTest, ASliderShowsWhatTheDeviceKeeps) {
    m_video->properties[kBrightness].keptStep = 5;
    m_controls.UserMoveSlider(ctl::kBrightnessSlider, 29);
    Shown(m_adjust.OnHScroll(tb::kThumbTrack, ctl::kBrightnessSlider,
                             m_controls.SliderPos(ctl::kBrightnessSlider)));
    EXPECT_EQ(m_slots.Slot(SlotTable::kVideo, kBrightness).value, 25);
    EXPECT_EQ(m_controls.SliderPos(ctl::kBrightnessSlider), 25);
    EXPECT_EQ(m_controls.controlText(ctl::kBrightnessText), QStringLiteral("25"));
    EXPECT_TRUE(m_controls.CheckedIn(ctl::kDefault, ctl::kCustom) == std::set<int>{ctl::kCustom});
}

// ---- Slider changes ----

struct CodeCase {
    int code;
    bool writes;
};

class SliderCodeTest : public AdjustmentControlsTest,
                       public ::testing::WithParamInterface<CodeCase> {};

TEST_P(SliderCodeTest, OnlyLinePageAndTrackWrite) {
    Connect();
    ClearLogs();
    const bool writes = GetParam().writes;
    EXPECT_EQ(m_adjust.TakesSliderChange(GetParam().code, ctl::kBrightnessSlider), writes);
    Slide(ctl::kBrightnessSlider, 30, GetParam().code);
    EXPECT_EQ(Writes(), writes ? std::vector<SimPropertyWrite>{V(kBrightness, 30)}
                               : std::vector<SimPropertyWrite>{});
    EXPECT_EQ(m_controls.controlText(ctl::kBrightnessText),
              writes ? QStringLiteral("30") : QStringLiteral("22"));
    EXPECT_EQ(m_slots.Slot(SlotTable::kVideo, kBrightness).value, writes ? 30 : 22);
    EXPECT_EQ(CustomMarked(), writes);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SliderCodeTest,
    ::testing::Values(CodeCase{tb::kLineUp, true}, CodeCase{tb::kLineDown, true},
                      CodeCase{tb::kPageUp, true}, CodeCase{tb::kPageDown, true},
                      CodeCase{tb::kThumbTrack, true}, CodeCase{tb::kTop, false},
                      CodeCase{tb::kBottom, false}, CodeCase{4, false}, CodeCase{8, false},
                      CodeCase{-1, false}));

TEST_F(AdjustmentControlsTest, PageUpOnBrightnessMovesTenAndWrites) {
    Connect();
    ClearLogs();
    m_controls.UserStepSlider(ctl::kBrightnessSlider,
                              -m_controls.SliderOf(ctl::kBrightnessSlider).page);
    Shown(m_adjust.OnHScroll(tb::kPageUp, ctl::kBrightnessSlider,
                             m_controls.SliderPos(ctl::kBrightnessSlider)));
    m_controls.UserStepSlider(ctl::kBrightnessSlider,
                              m_controls.SliderOf(ctl::kBrightnessSlider).line);
    Shown(m_adjust.OnHScroll(tb::kLineDown, ctl::kBrightnessSlider,
                             m_controls.SliderPos(ctl::kBrightnessSlider)));
    EXPECT_EQ(Writes(), (std::vector<SimPropertyWrite>{V(kBrightness, 12), V(kBrightness, 13)}));
    EXPECT_EQ(m_controls.controlText(ctl::kBrightnessText), QStringLiteral("13"));
    EXPECT_TRUE(CustomMarked());
}

TEST_F(AdjustmentControlsTest, DraggingWritesEveryMove) {
    Connect();
    ClearLogs();
    for (const int position : {111, 112, 115}) {
        Slide(ctl::kGreenSlider, position);
    }
    EXPECT_EQ(Writes(),
              (std::vector<SimPropertyWrite>{C(kGreen, 111), C(kGreen, 112), C(kGreen, 115)}));
    EXPECT_EQ(m_controls.controlText(ctl::kGreenText), QStringLiteral("115"));
}

TEST_F(AdjustmentControlsTest, OtherControlsAndTakenAwaySlidersAreIgnored) {
    Connect();
    IgnoreStatus(Shown(m_adjust.OnBlackWhite()));
    ClearLogs();
    for (const int id : {0, ctl::kPreviewArea, ctl::kBrightnessText, ctl::kSlide,
                         ctl::kSaturationSlider, ctl::kRedSlider}) {
        EXPECT_FALSE(m_adjust.TakesSliderChange(tb::kLineDown, id)) << id;
        EXPECT_TRUE(m_adjust.OnHScroll(tb::kLineDown, id, 1).empty()) << id;
    }
    EXPECT_TRUE(Writes().empty());
}

// ---- Default and Custom ----

TEST_F(AdjustmentControlsTest, DefaultAtThePresetsWritesNothing) {
    Connect();
    m_controls.checkRadioButton(ctl::kDefault, ctl::kCustom, ctl::kCustom);
    ClearLogs();
    Shown(m_adjust.ApplyDefaults());
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(DefaultMarked());
}

TEST_F(AdjustmentControlsTest, DefaultRestoresTheFilmTypePresets) {
    Connect();
    IgnoreStatus(Shown(m_adjust.OnSlide()));
    Slide(ctl::kContrastSlider, 80);
    Slide(ctl::kRedSlider, 200);
    ASSERT_TRUE(CustomMarked());
    ClearLogs();
    Shown(m_adjust.ApplyDefaults());
    // The slide presets, not the device's own defaults (contrast 50).
    EXPECT_EQ(Writes(), (std::vector<SimPropertyWrite>{V(kContrast, 45), C(kRed, 128)}));
    EXPECT_EQ(m_controls.controlText(ctl::kContrastText), QStringLiteral("45"));
    EXPECT_EQ(m_controls.SliderPos(ctl::kRedSlider), 128);
    EXPECT_TRUE(DefaultMarked());
}

TEST_F(AdjustmentControlsTest, DefaultSetsAutomaticWhereThePropertyOffersIt) {
    SimDeviceConfig config = sim::ScannerDevice();
    for (auto& property : config.videoProperties) {
        if (property.index == kBrightness) {
            property.capsFlags = kAuto | kManual;
        }
    }
    Connect(config);
    EXPECT_EQ(Writes()[1], V(kBrightness, 22, kAuto));
    ClearLogs();
    Slide(ctl::kBrightnessSlider, 5);
    Shown(m_adjust.ApplyDefaults());
    EXPECT_EQ(Writes(),
              (std::vector<SimPropertyWrite>{V(kBrightness, 5, kAuto), V(kBrightness, 22, kAuto)}));
}

TEST_F(AdjustmentControlsTest, ValueAtItsPresetIsWrittenWhileItsFlagsAreSet) {
    SimDeviceConfig config = sim::ScannerDevice();
    for (auto& property : config.videoProperties) {
        if (property.index == kBrightness) {
            property.initialValue = 22;
            property.capsFlags = kAuto | kManual;
        }
    }
    // Read as 22, manual: written all the same, in automatic mode.
    Connect(config);
    EXPECT_EQ(Writes()[1], V(kBrightness, 22, kAuto));
    // Automatic stays set, so every Default writes it again; nothing else.
    ClearLogs();
    Shown(m_adjust.ApplyDefaults());
    EXPECT_EQ(Writes(), std::vector<SimPropertyWrite>{V(kBrightness, 22, kAuto)});
}

TEST_F(AdjustmentControlsTest, CustomCannotBeChosen) {
    Connect();
    Slide(ctl::kBlueSlider, 90);
    ClearLogs();
    m_controls.UserClickRadio(ctl::kCustom, ctl::kDefault, ctl::kCustom);
    Shown(m_adjust.OnCustom());
    EXPECT_TRUE(DefaultMarked());
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(m_slots.Slot(SlotTable::kCamera, kBlue).value, 90);
}

// ---- Writes that go nowhere or are refused ----

TEST_F(AdjustmentControlsTest, AfterReleaseNothingReachesTheDevice) {
    Connect();
    Slide(ctl::kBrightnessSlider, 30);
    m_slots.ReleaseInterfaces();
    m_connected = false;
    ClearLogs();
    Slide(ctl::kBrightnessSlider, 31);
    Shown(m_adjust.ApplyDefaults());
    IgnoreStatus(Shown(m_adjust.OnSlide()));
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(m_controls.controlText(ctl::kBrightnessText), QStringLiteral("22"));
}

TEST_F(AdjustmentControlsTest, RefusedWriteShowsWhatTheDeviceHolds) {
    auto video = std::make_shared<test::ScriptedProperties<devices::VideoProcAmp>>();
    auto camera = std::make_shared<test::ScriptedProperties<devices::CameraControl>>();
    video->properties[kBrightness] = {
        .minimum = -64, .maximum = 64, .defaultValue = 0, .value = 3, .setResult = kInvalidArg};
    video->properties[kContrast] = {};
    IgnoreStatus(Shown(m_slots.LoadPropertySlots(video, camera)));
    m_connected = true;
    IgnoreStatus(Shown(m_adjust.OnNegative()));
    EXPECT_EQ(m_slots.Slot(SlotTable::kVideo, kBrightness).value, 3);
    EXPECT_EQ(m_controls.controlText(ctl::kBrightnessText), QStringLiteral("3"));
    EXPECT_EQ(video->properties[kContrast].value, 70);

    Slide(ctl::kBrightnessSlider, 40, tb::kLineDown);
    EXPECT_EQ(video->writes.back(), (test::ScriptedProperties<devices::VideoProcAmp>::Write{
                                        kBrightness, 40, video->properties[kBrightness].flags}));
    EXPECT_EQ(m_controls.SliderPos(ctl::kBrightnessSlider), 3);
    EXPECT_EQ(m_controls.controlText(ctl::kBrightnessText), QStringLiteral("3"));
    EXPECT_TRUE(CustomMarked());
}

}  // namespace
}  // namespace zv
