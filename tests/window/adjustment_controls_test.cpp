// The film type operations and the connection's presets, on the simulated scanner and on a
// scripted one that is busy or rounds what it is given.
#include "adjustment_controls_fixture.h"
#include "device/scripted_properties.h"
#include "platform/devices/scanner_contract.h"

namespace zv::test {
namespace {

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

}  // namespace
}  // namespace zv::test
