#include "device/property_slots.h"

#include "device/scripted_properties.h"
#include "fake_dialog_controls.h"
#include "platform/devices/camera_control.h"
#include "platform/devices/video_proc_amp.h"
#include "platform/sim/sim_device_config.h"
#include "platform/sim/sim_device_filter.h"
#include "resources/control_ids.h"
#include "window/adjustment_binder.h"

#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <set>

namespace zv {
namespace {

using sim::SimDeviceConfig;
using sim::SimPropertyConfig;
using test::FakeDialogControls;

constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

SimPropertyConfig& PropertyOf(SimDeviceConfig& config, SlotTable table, int index) {
    auto& list = table == SlotTable::kVideo ? config.videoProperties : config.cameraProperties;
    for (SimPropertyConfig& property : list) {
        if (property.index == index) {
            return property;
        }
    }
    ADD_FAILURE() << "the device has no property " << index;
    return list.front();
}

void RemoveProperty(SimDeviceConfig& config, SlotTable table, int index) {
    auto& list = table == SlotTable::kVideo ? config.videoProperties : config.cameraProperties;
    std::erase_if(list,
                  [index](const SimPropertyConfig& property) { return property.index == index; });
}

class PropertySlotsTest : public ::testing::Test {
protected:
    Status Load(SimDeviceConfig config) {
        m_device = sim::SimDeviceFilter::Create(std::move(config));
        return Shown(m_slots.LoadPropertySlots(m_device));
    }
    // Loads and shows the slots, as a connection does before its film type is applied.
    void LoadAndShow(SimDeviceConfig config) {
        IgnoreStatus(Load(std::move(config)));
        ShowAll();
    }
    PropertySlot& Video(int index) { return m_slots.Slot(SlotTable::kVideo, index); }
    PropertySlot& Camera(int index) { return m_slots.Slot(SlotTable::kCamera, index); }

    // Shows what loading changed, as the window's binder does; answers its status.
    Status Shown(Status status) {
        m_binder.Show(m_slots.TakeChanges());
        return status;
    }
    void ShowAll() {
        m_slots.ShowAllSlots();
        m_binder.Show(m_slots.TakeChanges());
    }

    FakeDialogControls m_controls;
    AdjustmentBinder m_binder{m_controls};
    PropertySlots m_slots;
    std::shared_ptr<sim::SimDeviceFilter> m_device;
};

// ---- Loading: status and the Default / Custom mark ----

struct LoadCase {
    const char* name;
    std::function<void(SimDeviceConfig&)> change;
    Status status;
    int mark;
};

class LoadMarkTest : public PropertySlotsTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadMarkTest, MarksDefaultOnlyWhenEveryAdjustmentIsAtItsDefault) {
    SimDeviceConfig config = sim::ScannerDevice();
    GetParam().change(config);
    m_controls.UserClickRadio(GetParam().mark == ctl::kDefault ? ctl::kCustom : ctl::kDefault,
                              ctl::kDefault, ctl::kCustom);
    EXPECT_EQ(Load(config), GetParam().status);
    EXPECT_EQ(m_controls.CheckedIn(ctl::kDefault, ctl::kCustom), std::set<int>{GetParam().mark});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadMarkTest,
    ::testing::Values(
        LoadCase{"AllAtDefault", [](SimDeviceConfig&) {}, kOk, ctl::kDefault},
        LoadCase{
            "BrightnessAway",
            [](SimDeviceConfig& s) {
                PropertyOf(s, SlotTable::kVideo, devices::kVideoProcAmpBrightness).initialValue = 5;
            },
            kOk, ctl::kCustom},
        LoadCase{"GreenAway",
                 [](SimDeviceConfig& s) {
                     PropertyOf(s, SlotTable::kCamera, devices::kCameraControlZoom).initialValue =
                         3;
                 },
                 kOk, ctl::kCustom},
        LoadCase{"FilmTypeAwayDoesNotCount",
                 [](SimDeviceConfig& s) {
                     PropertyOf(s, SlotTable::kCamera, devices::kCameraControlRoll).initialValue =
                         1;
                 },
                 kOk, ctl::kDefault},
        LoadCase{"GammaIsNoSlot",
                 [](SimDeviceConfig& s) {
                     PropertyOf(s, SlotTable::kVideo, devices::kVideoProcAmpGamma).initialValue =
                         250;
                 },
                 kOk, ctl::kDefault},
        LoadCase{"UnreadableRangeAwayDoesNotCount",
                 [](SimDeviceConfig& s) {
                     auto& p = PropertyOf(s, SlotTable::kVideo, devices::kVideoProcAmpBrightness);
                     p.rangeResult = kFail;
                     p.initialValue = 5;
                 },
                 kOk, ctl::kDefault},
        LoadCase{"NoVideoProcAmp", [](SimDeviceConfig& s) { s.hasVideoProcAmp = false; },
                 kNoInterface, ctl::kDefault},
        LoadCase{"NoVideoProcAmpRedAway",
                 [](SimDeviceConfig& s) {
                     s.hasVideoProcAmp = false;
                     PropertyOf(s, SlotTable::kCamera, devices::kCameraControlPan).initialValue =
                         10;
                 },
                 kNoInterface, ctl::kCustom},
        LoadCase{"NoCameraControlContrastAway",
                 [](SimDeviceConfig& s) {
                     s.hasCameraControl = false;
                     PropertyOf(s, SlotTable::kVideo, devices::kVideoProcAmpContrast).initialValue =
                         10;
                 },
                 kNoInterface, ctl::kCustom}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(PropertySlotsTest, WithoutFilterFailsAndChangesNothing) {
    IgnoreStatus(Load(sim::ScannerDevice()));
    const PropertySlot before = Video(devices::kVideoProcAmpBrightness);
    m_controls.ClearCalls();
    EXPECT_EQ(Shown(m_slots.LoadPropertySlots(std::shared_ptr<media::Filter>())), kFail);
    EXPECT_TRUE(m_controls.Calls().isEmpty());
    EXPECT_TRUE(m_slots.HasVideoProcAmp());
    EXPECT_TRUE(m_slots.HasCameraControl());
    EXPECT_EQ(Video(devices::kVideoProcAmpBrightness).value, before.value);
    EXPECT_EQ(Video(devices::kVideoProcAmpBrightness).minimum, before.minimum);
}

// ---- Sliders take the device's range, step and value ----

struct SliderCase {
    SlotTable table;
    int property;
    int slider;
    int caption;
    int text;
    std::int32_t minimum;
    std::int32_t maximum;
    std::int32_t step;
    std::int32_t value;
};

// Every property gets a range and value of its own, so that a slot bound to the wrong property
// or the wrong controls shows.
constexpr SliderCase kSliderCases[] = {
    {SlotTable::kVideo, devices::kVideoProcAmpBrightness, ctl::kBrightnessSlider,
     ctl::kBrightnessCaption, ctl::kBrightnessText, -64, 64, 1, -5},
    {SlotTable::kVideo, devices::kVideoProcAmpContrast, ctl::kContrastSlider, ctl::kContrastCaption,
     ctl::kContrastText, 0, 100, 2, 60},
    {SlotTable::kVideo, devices::kVideoProcAmpSaturation, ctl::kSaturationSlider,
     ctl::kSaturationCaption, ctl::kSaturationText, 0, 200, 5, 100},
    {SlotTable::kCamera, devices::kCameraControlPan, ctl::kRedSlider, ctl::kRedCaption,
     ctl::kRedText, 0, 255, 1, 7},
    {SlotTable::kCamera, devices::kCameraControlTilt, ctl::kBlueSlider, ctl::kBlueCaption,
     ctl::kBlueText, 1, 99, 4, 9},
    {SlotTable::kCamera, devices::kCameraControlZoom, ctl::kGreenSlider, ctl::kGreenCaption,
     ctl::kGreenText, 10, 250, 3, 11},
};

TEST_F(PropertySlotsTest, SlidersShowTheDeviceRangeStepAndValue) {
    SimDeviceConfig config = sim::ScannerDevice();
    for (const SliderCase& c : kSliderCases) {
        SimPropertyConfig& property = PropertyOf(config, c.table, c.property);
        property.minimum = c.minimum;
        property.maximum = c.maximum;
        property.steppingDelta = c.step;
        property.initialValue = c.value;
    }
    LoadAndShow(config);
    for (const SliderCase& c : kSliderCases) {
        SCOPED_TRACE(c.slider);
        const FakeDialogControls::Slider slider = m_controls.SliderOf(c.slider);
        EXPECT_EQ(slider.minimum, c.minimum);
        EXPECT_EQ(slider.maximum, c.maximum);
        EXPECT_EQ(slider.line, c.step);
        EXPECT_EQ(slider.page, 10);
        EXPECT_EQ(slider.position, c.value);
        EXPECT_EQ(m_controls.controlText(c.text), QString::number(c.value));
        EXPECT_TRUE(m_controls.IsControlEnabled(c.caption));
        EXPECT_TRUE(m_controls.IsControlEnabled(c.slider));
        EXPECT_TRUE(m_controls.IsControlEnabled(c.text));
        EXPECT_EQ(m_slots.FindSliderSlot(c.slider), (SlotRef{c.table, c.property}));
    }
}

TEST_F(PropertySlotsTest, OnlyAdjustmentSlidersHaveASlot) {
    for (const int id :
         {0, ctl::kPreviewArea, ctl::kBrightnessText, ctl::kSlide, ctl::kSaveFolder}) {
        EXPECT_FALSE(m_slots.FindSliderSlot(id).has_value()) << id;
    }
}

TEST_F(PropertySlotsTest, ValueTextShowsTheWholeNumber) {
    PropertySlot& slot = Video(devices::kVideoProcAmpBrightness);
    slot.supported = true;
    slot.minimum = kIntMin;
    slot.maximum = kIntMax;
    for (const std::int32_t value : {-5, 0, 123456789, kIntMin, kIntMax}) {
        slot.value = value;
        ASSERT_EQ(m_binder.RefreshSlotControls(slot), kOk);
        EXPECT_EQ(m_controls.controlText(ctl::kBrightnessText), QString::number(value));
        EXPECT_EQ(m_controls.SliderPos(ctl::kBrightnessSlider), value);
    }
}

TEST_F(PropertySlotsTest, MissingSaturationDisablesItsThreeControlsOnly) {
    SimDeviceConfig config = sim::ScannerDevice();
    RemoveProperty(config, SlotTable::kVideo, devices::kVideoProcAmpSaturation);
    LoadAndShow(config);
    EXPECT_FALSE(Video(devices::kVideoProcAmpSaturation).supported);
    for (const int id : {ctl::kSaturationCaption, ctl::kSaturationSlider, ctl::kSaturationText}) {
        EXPECT_FALSE(m_controls.IsControlEnabled(id)) << id;
    }
    // The slider keeps what it showed.
    EXPECT_EQ(m_controls.CallsFor(ctl::kSaturationSlider),
              QStringList{QStringLiteral("enable 1002 0")});
    for (const int id : {ctl::kBrightnessSlider, ctl::kContrastSlider, ctl::kRedSlider,
                         ctl::kGreenSlider, ctl::kBlueSlider}) {
        EXPECT_TRUE(m_controls.IsControlEnabled(id)) << id;
    }
}

TEST_F(PropertySlotsTest, MissingRollDisablesSlideAndNegativeButNotBlackWhite) {
    SimDeviceConfig config = sim::ScannerDevice();
    RemoveProperty(config, SlotTable::kCamera, devices::kCameraControlRoll);
    LoadAndShow(config);
    EXPECT_FALSE(m_controls.IsControlEnabled(ctl::kSlide));
    EXPECT_FALSE(m_controls.IsControlEnabled(ctl::kNegative));
    EXPECT_TRUE(m_controls.CallsFor(ctl::kBlackWhite).isEmpty());
    EXPECT_TRUE(m_controls.CheckedIn(ctl::kSlide, ctl::kNegative).empty());
}

// ---- The film type radio group ----

struct FilmMarkCase {
    std::int32_t value;
    std::set<int> checked;
};

class FilmTypeMarkTest : public PropertySlotsTest,
                         public ::testing::WithParamInterface<FilmMarkCase> {};

TEST_P(FilmTypeMarkTest, MarksTheButtonOfTheValueWithinSlideAndNegative) {
    IgnoreStatus(Load(sim::ScannerDevice()));
    m_controls.UserClickRadio(ctl::kBlackWhite, ctl::kSlide, ctl::kBlackWhite);
    PropertySlot& slot = Camera(PropertySlots::kFilmTypeSlot);
    slot.value = GetParam().value;
    EXPECT_EQ(m_binder.RefreshSlotControls(slot), kOk);
    EXPECT_EQ(m_controls.CheckedIn(ctl::kSlide, ctl::kNegative), GetParam().checked);
    // Black&White lies outside the range: its button keeps the mark of the click.
    EXPECT_TRUE(m_controls.CallsFor(ctl::kBlackWhite).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Values, FilmTypeMarkTest,
                         ::testing::Values(FilmMarkCase{0, {ctl::kSlide}},
                                           FilmMarkCase{1, {ctl::kNegative}}, FilmMarkCase{2, {}},
                                           FilmMarkCase{-1, {}}, FilmMarkCase{kIntMax, {}},
                                           FilmMarkCase{kIntMin, {}}));

// ---- Slot kinds the tables do not use ----

// Slots of these kinds get their enabled state only.
TEST_F(PropertySlotsTest, CheckBoxAndListBoxFollowSupport) {
    PropertySlot check;
    check.kind = SlotKind::kCheckBox;
    check.checkBoxId = 4000;
    PropertySlot list;
    list.kind = SlotKind::kListBox;
    list.captionId = 4001;
    list.listBoxId = 4002;
    for (const bool supported : {true, false}) {
        m_controls.ClearCalls();
        check.supported = supported;
        list.supported = supported;
        EXPECT_EQ(m_binder.RefreshSlotControls(check), kOk);
        EXPECT_EQ(m_binder.RefreshSlotControls(list), kOk);
        const int on = supported ? 1 : 0;
        EXPECT_EQ(m_controls.Calls(), (QStringList{QStringLiteral("enable 4000 %1").arg(on),
                                                   QStringLiteral("enable 4001 %1").arg(on),
                                                   QStringLiteral("enable 4002 %1").arg(on)}));
    }
}

TEST_F(PropertySlotsTest, UnknownKindFailsAndTouchesNothing) {
    PropertySlot slot = Video(devices::kVideoProcAmpBrightness);
    slot.supported = true;
    slot.kind = static_cast<SlotKind>(4);
    EXPECT_EQ(m_binder.RefreshSlotControls(slot), kFail);
    slot.kind = static_cast<SlotKind>(-1);
    EXPECT_EQ(m_binder.RefreshSlotControls(slot), kFail);
    EXPECT_TRUE(m_controls.Calls().isEmpty());
}

TEST_F(PropertySlotsTest, RadioGroupWithoutARangeTouchesOnlyItsCaption) {
    PropertySlot slot;
    slot.kind = SlotKind::kRadioGroup;
    slot.captionId = 4003;
    slot.supported = true;
    slot.firstRadioId = 4010;
    slot.lastRadioId = 4009;
    IgnoreStatus(m_binder.RefreshSlotControls(slot));
    EXPECT_EQ(m_controls.Calls(), QStringList{QStringLiteral("enable 4003 1")});
}

// ---- Devices that answer less ----

TEST_F(PropertySlotsTest, UnreadableValueTakesTheDeviceDefault) {
    auto video = std::make_shared<test::ScriptedProperties<devices::VideoProcAmp>>();
    auto camera = std::make_shared<test::ScriptedProperties<devices::CameraControl>>();
    video->properties[devices::kVideoProcAmpBrightness] = {.defaultValue = 12, .getResult = kFail};
    video->properties[devices::kVideoProcAmpContrast] = {.value = 50};
    EXPECT_EQ(Shown(m_slots.LoadPropertySlots(video, camera)), kOk);
    EXPECT_TRUE(Video(devices::kVideoProcAmpBrightness).supported);
    EXPECT_EQ(Video(devices::kVideoProcAmpBrightness).value, 12);
    EXPECT_EQ(Video(devices::kVideoProcAmpBrightness).flags, 0);
    EXPECT_EQ(Video(devices::kVideoProcAmpContrast).value, 50);
    EXPECT_TRUE(m_controls.IsRadioChecked(ctl::kDefault));
}

TEST_F(PropertySlotsTest, NextDeviceLeavesNothingOfTheLastOne) {
    LoadAndShow(sim::ScannerDevice());
    ASSERT_TRUE(Camera(devices::kCameraControlPan).supported);

    // A webcam has the video properties with its own ranges and none of the colour levels.
    EXPECT_EQ(Load(sim::WebcamDevice()), kOk);
    ShowAll();
    EXPECT_EQ(m_controls.SliderOf(ctl::kBrightnessSlider).maximum, 255);
    for (const int index : {devices::kCameraControlPan, devices::kCameraControlTilt,
                            devices::kCameraControlRoll, devices::kCameraControlZoom}) {
        EXPECT_FALSE(Camera(index).supported) << index;
    }
    EXPECT_FALSE(m_controls.IsControlEnabled(ctl::kRedSlider));

    // A scanner without camera control: its camera slots cannot be used either.
    SimDeviceConfig config = sim::ScannerDevice();
    config.hasCameraControl = false;
    EXPECT_EQ(Load(config), kNoInterface);
    EXPECT_TRUE(m_slots.HasVideoProcAmp());
    EXPECT_FALSE(m_slots.HasCameraControl());
    EXPECT_FALSE(Camera(devices::kCameraControlZoom).supported);
    EXPECT_EQ(Video(devices::kVideoProcAmpBrightness).maximum, 64);
}

TEST_F(PropertySlotsTest, WritesGoToTheSlotsInterfaceOrNowhere) {
    SimDeviceConfig config = sim::ScannerDevice();
    config.hasVideoProcAmp = false;
    IgnoreStatus(Load(config));
    const SlotRef brightness{SlotTable::kVideo, devices::kVideoProcAmpBrightness};
    const SlotRef red{SlotTable::kCamera, devices::kCameraControlPan};
    EXPECT_EQ(m_slots.WriteSlot(brightness), kFalse);
    EXPECT_EQ(m_slots.ReadSlot(brightness), kFalse);
    EXPECT_TRUE(m_device->PropertyWrites().empty());

    Camera(devices::kCameraControlPan).value = 77;
    Camera(devices::kCameraControlPan).flags = 0;
    EXPECT_EQ(m_slots.WriteSlot(red), kOk);
    const std::vector<sim::SimPropertyWrite> expected{
        {sim::SimPropertyInterface::kCameraControl, devices::kCameraControlPan, 77, 0, kOk}};
    EXPECT_EQ(m_device->PropertyWrites(), expected);

    m_slots.ReleaseInterfaces();
    EXPECT_EQ(m_slots.WriteSlot(red), kFalse);
    EXPECT_EQ(m_device->PropertyWrites(), expected);
}

}  // namespace
}  // namespace zv
