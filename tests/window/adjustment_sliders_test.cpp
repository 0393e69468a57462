// Slider changes, Default and Custom, and writes the device refuses.
#include "adjustment_controls_fixture.h"
#include "device/scripted_properties.h"

namespace zv::test {
namespace {

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
}  // namespace zv::test
