#include "platform/devices/camera_control.h"
#include "platform/devices/ks_property.h"
#include "platform/devices/property_control.h"
#include "platform/devices/video_proc_amp.h"
#include "platform/v4l2/v4l2_control_set.h"
#include "platform/v4l2_scripted_io.h"

#include <gtest/gtest.h>
#include <limits>

namespace zv::v4l2 {
namespace {

using devices::kPropertyFlagsAuto;
using devices::kPropertyFlagsManual;

constexpr std::uint32_t kRollAbsolute = V4L2_CID_CAMERA_CLASS_BASE + 0x40;

test::ScriptedControl Control(std::uint32_t id, const char* name, std::int64_t minimum,
                              std::int64_t maximum, std::uint64_t step, std::int64_t defaultValue,
                              std::int32_t value, std::uint32_t type = V4L2_CTRL_TYPE_INTEGER) {
    test::ScriptedControl control;
    control.id = id;
    control.name = name;
    control.type = type;
    control.minimum = minimum;
    control.maximum = maximum;
    control.step = step;
    control.defaultValue = defaultValue;
    control.value = value;
    return control;
}

// The controls uvcvideo makes of the bench scanner's units, with a hue and its automatic mode
// added, and a tilt whose arc-second range is no whole number of degrees.
std::vector<test::ScriptedControl> ScannerControls() {
    return {
        Control(V4L2_CID_BRIGHTNESS, "Brightness", -64, 64, 1, 0, 3),
        Control(V4L2_CID_CONTRAST, "Contrast", 0, 100, 1, 50, 50),
        Control(V4L2_CID_SATURATION, "Saturation", 0, 100, 1, 50, 40),
        Control(V4L2_CID_HUE, "Hue", -180, 180, 1, 0, 10),
        Control(V4L2_CID_GAMMA, "Gamma", 100, 500, 1, 220, 220),
        Control(V4L2_CID_HUE_AUTO, "Hue, Automatic", 0, 1, 1, 0, 1, V4L2_CTRL_TYPE_BOOLEAN),
        Control(V4L2_CID_PAN_ABSOLUTE, "Pan, Absolute", 0, 918000, 3600, 460800, 576000),
        Control(V4L2_CID_TILT_ABSOLUTE, "Tilt, Absolute", -37000, 37000, 1800, -1800, 3600),
        Control(V4L2_CID_ZOOM_ABSOLUTE, "Zoom, Absolute", 100, 400, 1, 100, 100),
    };
}

class ControlFixture : public testing::Test {
public:
    struct Range {
        std::int32_t minimum = 0, maximum = 0, step = 0, defaultValue = 0, caps = 0;
        friend bool operator==(const Range&, const Range&) = default;
    };

protected:
    void Open(std::vector<test::ScriptedControl> controls) {
        test::ScriptedNode node;
        node.controls = std::move(controls);
        io.AddNode(node);
        fd = io.Open(node.devnode);
        video = std::make_unique<V4l2ControlSet>(io, fd, PropertyInterface::kVideoProcAmp);
        camera = std::make_unique<V4l2ControlSet>(io, fd, PropertyInterface::kCameraControl);
    }

    Status GetRange(V4l2ControlSet& set, int property, Range* range) {
        return set.GetRange(property, &range->minimum, &range->maximum, &range->step,
                            &range->defaultValue, &range->caps);
    }

    test::ScriptedV4l2Io io;
    int fd = -1;
    std::unique_ptr<V4l2ControlSet> video;
    std::unique_ptr<V4l2ControlSet> camera;
};

void PrintTo(const ControlFixture::Range& r, std::ostream* out) {
    *out << r.minimum << ".." << r.maximum << " step " << r.step << " default " << r.defaultValue
         << " caps " << r.caps;
}

struct RangeCase {
    bool video;
    int property;
    Status status;
    ControlFixture::Range range;
};

class ControlRanges : public ControlFixture, public testing::WithParamInterface<RangeCase> {};

TEST_P(ControlRanges, FromTheControlsQuery) {
    Open(ScannerControls());
    const RangeCase& c = GetParam();
    Range range;
    EXPECT_EQ(GetRange(c.video ? *video : *camera, c.property, &range), c.status);
    if (c.status == kOk) {
        EXPECT_EQ(range, c.range);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ControlRanges,
    testing::Values(
        RangeCase{
            true, devices::kVideoProcAmpBrightness, kOk, {-64, 64, 1, 0, kPropertyFlagsManual}},
        RangeCase{true, devices::kVideoProcAmpContrast, kOk, {0, 100, 1, 50, kPropertyFlagsManual}},
        RangeCase{
            true, devices::kVideoProcAmpSaturation, kOk, {0, 100, 1, 50, kPropertyFlagsManual}},
        RangeCase{true, devices::kVideoProcAmpGamma, kOk, {100, 500, 1, 220, kPropertyFlagsManual}},
        // The automatic capability only where an automatic control pairs with the property.
        RangeCase{true,
                  devices::kVideoProcAmpHue,
                  kOk,
                  {-180, 180, 1, 0, kPropertyFlagsManual | kPropertyFlagsAuto}},
        // Pan and tilt in degrees: the range narrowed to whole degrees inside it, step and
        // default to the nearest degree (never a step of 0).
        RangeCase{false, devices::kCameraControlPan, kOk, {0, 255, 1, 128, kPropertyFlagsManual}},
        RangeCase{false, devices::kCameraControlTilt, kOk, {-10, 10, 1, -1, kPropertyFlagsManual}},
        RangeCase{
            false, devices::kCameraControlZoom, kOk, {100, 400, 1, 100, kPropertyFlagsManual}},
        // Controls the device lacks, properties without a control, indices out of range.
        RangeCase{true, devices::kVideoProcAmpSharpness, kNotFound, {}},
        RangeCase{true, devices::kVideoProcAmpGain, kNotFound, {}},
        RangeCase{true, devices::kVideoProcAmpColorEnable, kNotFound, {}},
        RangeCase{true, 13, kNotFound, {}}, RangeCase{true, 14, kNotFound, {}},
        RangeCase{true, -1, kNotFound, {}},
        RangeCase{false, devices::kCameraControlRoll, kNotFound, {}},
        RangeCase{false, devices::kCameraControlExposure, kNotFound, {}},
        RangeCase{false, devices::kCameraControlFocus, kNotFound, {}},
        RangeCase{false, 19, kNotFound, {}}, RangeCase{false, 20, kNotFound, {}}));

TEST_F(ControlFixture, DisabledControlIsNotOffered) {
    auto controls = ScannerControls();
    controls[0].flags = V4L2_CTRL_FLAG_DISABLED;
    Open(controls);
    Range range;
    EXPECT_EQ(GetRange(*video, devices::kVideoProcAmpBrightness, &range), kNotFound);
    std::int32_t value = 0, flags = 0;
    EXPECT_EQ(video->Get(devices::kVideoProcAmpBrightness, &value, &flags), kNotFound);
    EXPECT_EQ(video->Set(devices::kVideoProcAmpBrightness, 1, kPropertyFlagsManual), kNotFound);
}

TEST_F(ControlFixture, WideRangesAreClampedToThirtyTwoBits) {
    Open({Control(V4L2_CID_BRIGHTNESS, "Brightness", std::numeric_limits<std::int64_t>::min(),
                  std::numeric_limits<std::int64_t>::max(), 1ull << 40, 1ll << 35, 0)});
    Range range;
    ASSERT_EQ(GetRange(*video, devices::kVideoProcAmpBrightness, &range), kOk);
    EXPECT_EQ(range.minimum, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(range.maximum, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(range.step, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(range.defaultValue, std::numeric_limits<std::int32_t>::max());
}

TEST_F(ControlFixture, SetAndGetInManualMode) {
    Open(ScannerControls());
    for (const std::int32_t flags : {kPropertyFlagsManual, 0}) {
        ASSERT_EQ(video->Set(devices::kVideoProcAmpBrightness, -17, flags), kOk);
        std::int32_t value = 0, got = 0;
        ASSERT_EQ(video->Get(devices::kVideoProcAmpBrightness, &value, &got), kOk);
        EXPECT_EQ(value, -17);
        EXPECT_EQ(got, kPropertyFlagsManual);
    }
    // Degrees to the driver, arc-seconds back to degrees.
    ASSERT_EQ(camera->Set(devices::kCameraControlPan, 160, kPropertyFlagsManual), kOk);
    EXPECT_EQ(io.ControlValue("/dev/video0", V4L2_CID_PAN_ABSOLUTE), 576000);
    std::int32_t value = 0, flags = 0;
    ASSERT_EQ(camera->Get(devices::kCameraControlTilt, &value, &flags), kOk);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(camera->Set(devices::kCameraControlTilt, 11, kPropertyFlagsManual), kInvalidArg);
}

struct ReadBackCase {
    const char* name;
    test::ScriptedControl control;
    bool camera;
    int property;
    std::int32_t written;
    // What the driver keeps (it rounds to the step) and the property answers.
    std::int32_t driverValue;
    std::int32_t held;
};

class ReadBack : public ControlFixture, public testing::WithParamInterface<ReadBackCase> {};

TEST_P(ReadBack, AWriteAnswersWhatTheDriverKeeps) {
    const ReadBackCase& c = GetParam();
    Open({c.control});
    std::int32_t held = 0;
    ASSERT_EQ((c.camera ? *camera : *video)
                  .SetAndRead(c.property, c.written, kPropertyFlagsManual, &held),
              kOk);
    EXPECT_EQ(io.ControlValue("/dev/video0", c.control.id), c.driverValue);
    EXPECT_EQ(held, c.held);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadBack,
    testing::Values(
        ReadBackCase{"RoundedDown", Control(V4L2_CID_CONTRAST, "Contrast", 0, 100, 5, 50, 50),
                     false, devices::kVideoProcAmpContrast, 52, 50, 50},
        // A device counting pan in steps of two degrees.
        ReadBackCase{"DegreesRoundedByTheDriver",
                     Control(V4L2_CID_PAN_ABSOLUTE, "Pan, Absolute", 0, 918000, 7200, 460800, 0),
                     true, devices::kCameraControlPan, 161, 583200, 162}),
    [](const testing::TestParamInfo<ReadBackCase>& p) { return p.param.name; });

struct RefusedCase {
    const char* name;
    int property;
    std::int32_t value;
    std::int32_t flags;
};

class RefusedSet : public ControlFixture, public testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedSet, NothingReachesTheDriver) {
    Open(ScannerControls());
    io.ClearLog();
    EXPECT_EQ(video->Set(GetParam().property, GetParam().value, GetParam().flags), kInvalidArg);
    EXPECT_TRUE(io.Log().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedSet,
    testing::Values(
        RefusedCase{"BelowMinimum", devices::kVideoProcAmpBrightness, -65, kPropertyFlagsManual},
        RefusedCase{"AboveMaximum", devices::kVideoProcAmpContrast, 101, kPropertyFlagsManual},
        RefusedCase{"AutoWithoutAutoControl", devices::kVideoProcAmpBrightness, 0,
                    kPropertyFlagsAuto},
        RefusedCase{"AutoAndManual", devices::kVideoProcAmpHue, 0,
                    kPropertyFlagsAuto | kPropertyFlagsManual},
        RefusedCase{"UnknownFlag", devices::kVideoProcAmpHue, 0, 0x4}),
    [](const testing::TestParamInfo<RefusedCase>& p) { return p.param.name; });

TEST_F(ControlFixture, AutomaticModeIsTheAutoControl) {
    Open(ScannerControls());
    std::int32_t value = 0, flags = 0;
    ASSERT_EQ(video->Get(devices::kVideoProcAmpHue, &value, &flags), kOk);
    EXPECT_EQ(value, 10);
    EXPECT_EQ(flags, kPropertyFlagsAuto);

    // A manual value switches the automatic mode off first.
    io.ClearLog();
    ASSERT_EQ(video->Set(devices::kVideoProcAmpHue, -20, kPropertyFlagsManual), kOk);
    EXPECT_EQ(io.Log(), (std::vector<std::string>{"S_CTRL Hue, Automatic=0", "S_CTRL Hue=-20"}));
    ASSERT_EQ(video->Get(devices::kVideoProcAmpHue, &value, &flags), kOk);
    EXPECT_EQ(flags, kPropertyFlagsManual);

    // Automatic mode leaves the value to the device.
    io.ClearLog();
    ASSERT_EQ(video->Set(devices::kVideoProcAmpHue, 99, kPropertyFlagsAuto), kOk);
    EXPECT_EQ(io.Log(), std::vector<std::string>{"S_CTRL Hue, Automatic=1"});
    EXPECT_EQ(io.ControlValue("/dev/video0", V4L2_CID_HUE), -20);
}

struct RollCase {
    const char* name;
    std::vector<test::ScriptedControl> cameraControls;
    bool supported;
};

class RollLookup : public ControlFixture, public testing::WithParamInterface<RollCase> {};

TEST_P(RollLookup, ByNameAmongTheCameraClassControls) {
    std::vector<test::ScriptedControl> controls = ScannerControls();
    controls.insert(controls.end(), GetParam().cameraControls.begin(),
                    GetParam().cameraControls.end());
    Open(controls);
    Range range;
    const Status status = GetRange(*camera, devices::kCameraControlRoll, &range);
    if (!GetParam().supported) {
        EXPECT_EQ(status, kNotFound);
        return;
    }
    ASSERT_EQ(status, kOk);
    EXPECT_EQ(range, (Range{0, 1, 1, 0, kPropertyFlagsManual}));
    ASSERT_EQ(camera->Set(devices::kCameraControlRoll, 1, kPropertyFlagsManual), kOk);
    std::int32_t value = 0, flags = 0;
    ASSERT_EQ(camera->Get(devices::kCameraControlRoll, &value, &flags), kOk);
    EXPECT_EQ(value, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RollLookup,
    testing::Values(
        RollCase{"KernelWithoutRoll", {}, false},
        RollCase{"RollAbsolute", {Control(kRollAbsolute, "Roll, Absolute", 0, 1, 1, 0, 0)}, true},
        RollCase{"PlainRoll", {Control(kRollAbsolute, "roll", 0, 1, 1, 0, 0)}, true},
        RollCase{"RelativeAndSpeedAreNotRoll",
                 {Control(kRollAbsolute, "Roll, Relative", -1, 1, 1, 0, 0),
                  Control(kRollAbsolute + 1, "Roll Speed", 0, 1, 1, 0, 0)},
                 false},
        RollCase{"NotAnInteger",
                 {Control(kRollAbsolute, "Roll, Absolute", 0, 1, 1, 0, 0, V4L2_CTRL_TYPE_MENU)},
                 false},
        // Only camera-class controls count.
        RollCase{"UserClassRoll",
                 {Control(V4L2_CID_USER_BASE + 0x1000, "Roll, Absolute", 0, 1, 1, 0, 0)},
                 false},
        RollCase{"AfterOtherCameraControls",
                 {Control(kRollAbsolute - 2, "Privacy", 0, 1, 1, 0, 0),
                  Control(kRollAbsolute + 3, "Roll, Absolute", 0, 1, 1, 0, 0)},
                 true}),
    [](const testing::TestParamInfo<RollCase>& p) { return p.param.name; });

TEST(RollControlName, Table) {
    EXPECT_TRUE(V4l2ControlSet::IsRollControlName("Roll, Absolute"));
    EXPECT_TRUE(V4l2ControlSet::IsRollControlName("ROLL"));
    EXPECT_FALSE(V4l2ControlSet::IsRollControlName("Roll, Relative"));
    EXPECT_FALSE(V4l2ControlSet::IsRollControlName("Roll Speed"));
    EXPECT_FALSE(V4l2ControlSet::IsRollControlName("Scroll"));
    EXPECT_FALSE(V4l2ControlSet::IsRollControlName(""));
}

TEST_F(ControlFixture, UnpluggedDeviceAnswersNotConnected) {
    Open(ScannerControls());
    io.Unplug();
    std::int32_t value = 0, flags = 0;
    EXPECT_EQ(video->Get(devices::kVideoProcAmpBrightness, &value, &flags),
              devices::kDeviceNotConnected);
    Range range;
    EXPECT_EQ(GetRange(*camera, devices::kCameraControlZoom, &range), devices::kDeviceNotConnected);
}

TEST_F(ControlFixture, NullOutputs) {
    Open(ScannerControls());
    std::int32_t value = 0;
    EXPECT_EQ(video->Get(devices::kVideoProcAmpBrightness, &value, nullptr), kPointer);
    EXPECT_EQ(
        video->GetRange(devices::kVideoProcAmpBrightness, &value, &value, &value, &value, nullptr),
        kPointer);
}

}  // namespace
}  // namespace zv::v4l2
