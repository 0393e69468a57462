#include "platform/sim/sim_device_filter.h"

#include "platform/devices/camera_control.h"
#include "platform/devices/filter_interfaces.h"
#include "platform/devices/ks_control.h"
#include "platform/devices/ks_topology_info.h"
#include "platform/devices/video_proc_amp.h"
#include "platform/media/filter_graph.h"

#include <gtest/gtest.h>

namespace zv::sim {
namespace {

using devices::kPropertyFlagsAuto;
using devices::kPropertyFlagsManual;

struct Range {
    std::int32_t minimum = 0, maximum = 0, step = 0, defaultValue = 0, caps = 0;
    friend bool operator==(const Range&, const Range&) = default;
};

Status GetRange(devices::PropertyControl& control, int property, Range* range) {
    return control.GetRange(property, &range->minimum, &range->maximum, &range->step,
                            &range->defaultValue, &range->caps);
}

// Which picture setting of the frames each scanner property drives, and a value in its range
// away from the default.
struct DriveCase {
    const char* name;
    SimPropertyInterface target;
    int property;
    PictureProperty drives;
    std::int32_t value;
};

class ScannerPropertyTest : public testing::TestWithParam<DriveCase> {
protected:
    devices::PropertyControl& Control() {
        if (GetParam().target == SimPropertyInterface::kVideoProcAmp) {
            return *device->GetVideoProcAmp();
        }
        return *device->GetCameraControl();
    }

    std::shared_ptr<SimDeviceFilter> device = SimDeviceFilter::Create(ScannerDevice());
};

TEST_P(ScannerPropertyTest, ReportsTheRangeOfTheSettingItDrives) {
    const PropertyRange expected = PictureParameters::Range(GetParam().drives);
    Range range;
    ASSERT_EQ(GetRange(Control(), GetParam().property, &range), kOk);
    EXPECT_EQ(range, (Range{expected.minimum, expected.maximum, expected.step,
                            expected.defaultValue, kPropertyFlagsManual}));
    std::int32_t value = -999;
    std::int32_t flags = -999;
    ASSERT_EQ(Control().Get(GetParam().property, &value, &flags), kOk);
    EXPECT_EQ(value, expected.defaultValue);
    EXPECT_EQ(flags, kPropertyFlagsManual);
}

TEST_P(ScannerPropertyTest, AcceptedWriteDrivesTheFramesAndIsLogged) {
    const std::uint64_t generation = device->Parameters().Snapshot().generation;
    ASSERT_EQ(Control().Set(GetParam().property, GetParam().value, 0), kOk);
    EXPECT_EQ(device->Parameters().Get(GetParam().drives), GetParam().value);
    EXPECT_NE(device->Parameters().Snapshot().generation, generation);
    std::int32_t value = 0;
    std::int32_t flags = -1;
    ASSERT_EQ(Control().Get(GetParam().property, &value, &flags), kOk);
    EXPECT_EQ(value, GetParam().value);
    EXPECT_EQ(flags, 0);
    EXPECT_EQ(device->PropertyWrites(),
              (std::vector<SimPropertyWrite>{
                  {GetParam().target, GetParam().property, GetParam().value, 0, kOk}}));
}

TEST_P(ScannerPropertyTest, WriteOutsideTheRangeIsRefusedButLogged) {
    const PropertyRange range = PictureParameters::Range(GetParam().drives);
    const int before = device->Parameters().Get(GetParam().drives);
    for (const std::int32_t value : {range.minimum - 1, range.maximum + 1}) {
        EXPECT_EQ(Control().Set(GetParam().property, value, kPropertyFlagsManual), kInvalidArg);
    }
    // Automatic mode is not offered by the scanner.
    EXPECT_EQ(Control().Set(GetParam().property, range.minimum, kPropertyFlagsAuto), kInvalidArg);
    EXPECT_EQ(device->Parameters().Get(GetParam().drives), before);
    const auto writes = device->PropertyWrites();
    ASSERT_EQ(writes.size(), 3u);
    for (const SimPropertyWrite& write : writes) {
        EXPECT_EQ(write.status, kInvalidArg);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScannerPropertyTest,
    testing::Values(DriveCase{"Brightness", SimPropertyInterface::kVideoProcAmp,
                              devices::kVideoProcAmpBrightness, PictureProperty::kBrightness, 22},
                    DriveCase{"Contrast", SimPropertyInterface::kVideoProcAmp,
                              devices::kVideoProcAmpContrast, PictureProperty::kContrast, 70},
                    DriveCase{"Saturation", SimPropertyInterface::kVideoProcAmp,
                              devices::kVideoProcAmpSaturation, PictureProperty::kSaturation, 55},
                    DriveCase{"Gamma", SimPropertyInterface::kVideoProcAmp,
                              devices::kVideoProcAmpGamma, PictureProperty::kGamma, 400},
                    DriveCase{"RedIsPan", SimPropertyInterface::kCameraControl,
                              devices::kCameraControlPan, PictureProperty::kRedLevel, 160},
                    DriveCase{"BlueIsTilt", SimPropertyInterface::kCameraControl,
                              devices::kCameraControlTilt, PictureProperty::kBlueLevel, 100},
                    DriveCase{"GreenIsZoom", SimPropertyInterface::kCameraControl,
                              devices::kCameraControlZoom, PictureProperty::kGreenLevel, 110},
                    DriveCase{"FilmTypeIsRoll", SimPropertyInterface::kCameraControl,
                              devices::kCameraControlRoll, PictureProperty::kFilmType, 1}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(SimDeviceFilter, PropertiesItLacksAnswerNotFound) {
    auto device = SimDeviceFilter::Create(ScannerDevice());
    Range range;
    std::int32_t value = 0;
    std::int32_t flags = 0;
    for (const int property :
         {devices::kVideoProcAmpHue, devices::kVideoProcAmpSharpness, 13, 14, -1}) {
        EXPECT_EQ(GetRange(*device->GetVideoProcAmp(), property, &range), kNotFound) << property;
        EXPECT_EQ(device->GetVideoProcAmp()->Get(property, &value, &flags), kNotFound);
        EXPECT_EQ(device->GetVideoProcAmp()->Set(property, 0, 0), kNotFound);
    }
    for (const int property : {devices::kCameraControlExposure, 19, 20}) {
        EXPECT_EQ(GetRange(*device->GetCameraControl(), property, &range), kNotFound);
    }
    EXPECT_EQ(device->GetVideoProcAmp()->Get(0, nullptr, &flags), kPointer);
}

TEST(SimDeviceFilter, WritesOfBothInterfacesShareOneLogInOrder) {
    auto device = SimDeviceFilter::Create(ScannerDevice());
    IgnoreStatus(device->GetVideoProcAmp()->Set(devices::kVideoProcAmpSaturation, 55, 0));
    IgnoreStatus(device->GetCameraControl()->Set(devices::kCameraControlRoll, 1, 0));
    IgnoreStatus(device->GetVideoProcAmp()->Set(devices::kVideoProcAmpGamma, 400, 0));
    IgnoreStatus(device->GetVideoProcAmp()->Set(devices::kVideoProcAmpHue, 1, 0));
    const std::vector<SimPropertyWrite> expected{
        {SimPropertyInterface::kVideoProcAmp, devices::kVideoProcAmpSaturation, 55, 0, kOk},
        {SimPropertyInterface::kCameraControl, devices::kCameraControlRoll, 1, 0, kOk},
        {SimPropertyInterface::kVideoProcAmp, devices::kVideoProcAmpGamma, 400, 0, kOk},
        {SimPropertyInterface::kVideoProcAmp, devices::kVideoProcAmpHue, 1, 0, kNotFound}};
    EXPECT_EQ(device->PropertyWrites(), expected);
    device->Log().Clear();
    EXPECT_TRUE(device->PropertyWrites().empty());
}

TEST(SimDeviceFilter, AutomaticModeWhereThePropertyOffersIt) {
    auto device = SimDeviceFilter::Create(WebcamDevice());
    devices::VideoProcAmp& video = *device->GetVideoProcAmp();
    Range range;
    ASSERT_EQ(GetRange(video, devices::kVideoProcAmpWhiteBalance, &range), kOk);
    EXPECT_EQ(range.caps, kPropertyFlagsAuto | kPropertyFlagsManual);
    std::int32_t value = 0;
    std::int32_t flags = 0;
    ASSERT_EQ(video.Get(devices::kVideoProcAmpWhiteBalance, &value, &flags), kOk);
    EXPECT_EQ(flags, kPropertyFlagsAuto);
    EXPECT_EQ(video.Set(devices::kVideoProcAmpWhiteBalance, 5000, kPropertyFlagsManual), kOk);
    EXPECT_EQ(video.Set(devices::kVideoProcAmpWhiteBalance, 5000, kPropertyFlagsAuto), kOk);
    ASSERT_EQ(video.Get(devices::kVideoProcAmpWhiteBalance, &value, &flags), kOk);
    EXPECT_EQ(value, 5000);
    EXPECT_EQ(flags, kPropertyFlagsAuto);
    // Flags the platform does not know are refused.
    EXPECT_EQ(video.Set(devices::kVideoProcAmpWhiteBalance, 5000, 4), kInvalidArg);
    // The webcam's brightness drives nothing of the film frames.
    const int before = device->Parameters().Get(PictureProperty::kBrightness);
    EXPECT_EQ(video.Set(devices::kVideoProcAmpBrightness, 200, 0), kOk);
    EXPECT_EQ(device->Parameters().Get(PictureProperty::kBrightness), before);
}

TEST(SimDeviceFilter, InitialValuesDriveTheFramesFromTheStart) {
    SimDeviceConfig config = ScannerDevice();
    config.cameraProperties[2].initialValue = 1;  // roll: negative
    config.videoProperties[0].initialValue = -5;  // brightness
    // A device range wider than the renderer's: the frames get the nearest value they know.
    config.videoProperties[1].maximum = 1000;
    config.videoProperties[1].initialValue = 1000;  // contrast
    auto device = SimDeviceFilter::Create(config);
    EXPECT_EQ(device->Parameters().Get(PictureProperty::kFilmType), 1);
    EXPECT_EQ(device->Parameters().Get(PictureProperty::kBrightness), -5);
    EXPECT_EQ(device->Parameters().Get(PictureProperty::kContrast),
              PictureParameters::Range(PictureProperty::kContrast).maximum);
    std::int32_t value = 0;
    std::int32_t flags = 0;
    ASSERT_EQ(device->GetVideoProcAmp()->Get(devices::kVideoProcAmpContrast, &value, &flags), kOk);
    EXPECT_EQ(value, 1000);
}

TEST(SimDeviceFilter, RangeFailureAsConfigured) {
    SimDeviceConfig config = ScannerDevice();
    config.videoProperties[0].rangeResult = kUnexpected;
    auto device = SimDeviceFilter::Create(config);
    Range range;
    EXPECT_EQ(GetRange(*device->GetVideoProcAmp(), devices::kVideoProcAmpBrightness, &range),
              kUnexpected);
}

struct InterfaceCase {
    const char* name;
    std::function<void(SimDeviceConfig&)> change;
    bool ks, topology, video, camera;
};

class InterfaceTest : public testing::TestWithParam<InterfaceCase> {};

TEST_P(InterfaceTest, QueriesFindWhatTheDeviceHas) {
    SimDeviceConfig config = ScannerDevice();
    GetParam().change(config);
    std::shared_ptr<media::Filter> filter = SimDeviceFilter::Create(config);
    std::shared_ptr<devices::KsControl> ks;
    std::shared_ptr<devices::KsTopologyInfo> topology;
    std::shared_ptr<devices::VideoProcAmp> video;
    std::shared_ptr<devices::CameraControl> camera;
    const auto expect = [](bool has) { return has ? kOk : kNoInterface; };
    EXPECT_EQ(devices::QueryKsControl(filter, &ks), expect(GetParam().ks));
    EXPECT_EQ(devices::QueryKsTopologyInfo(filter, &topology), expect(GetParam().topology));
    EXPECT_EQ(devices::QueryVideoProcAmp(filter, &video), expect(GetParam().video));
    EXPECT_EQ(devices::QueryCameraControl(filter, &camera), expect(GetParam().camera));
    EXPECT_EQ(ks != nullptr, GetParam().ks);
    EXPECT_EQ(topology != nullptr, GetParam().topology);
    EXPECT_EQ(video != nullptr, GetParam().video);
    EXPECT_EQ(camera != nullptr, GetParam().camera);
    // Each interface handed out holds the filter; the empty ones hold nothing.
    const long held = GetParam().ks + GetParam().topology + GetParam().video + GetParam().camera;
    EXPECT_EQ(filter.use_count(), 1 + held);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InterfaceTest,
    testing::Values(InterfaceCase{"Scanner", [](auto&) {}, true, true, true, true},
                    InterfaceCase{"NoKsControl", [](auto& s) { s.hasKsControl = false; }, false,
                                  true, true, true},
                    InterfaceCase{"NoTopology", [](auto& s) { s.hasTopologyInfo = false; }, true,
                                  false, true, true},
                    InterfaceCase{"NoVideoProcAmp", [](auto& s) { s.hasVideoProcAmp = false; },
                                  true, true, false, true},
                    InterfaceCase{"NoCameraControl", [](auto& s) { s.hasCameraControl = false; },
                                  true, true, true, false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(FilterInterfaces, AnInterfaceKeepsItsFilterAlive) {
    std::shared_ptr<media::Filter> filter = SimDeviceFilter::Create(ScannerDevice());
    std::weak_ptr<media::Filter> watch = filter;
    std::shared_ptr<devices::VideoProcAmp> video;
    ASSERT_EQ(devices::QueryVideoProcAmp(filter, &video), kOk);
    filter.reset();
    ASSERT_FALSE(watch.expired());
    std::int32_t value = 0;
    std::int32_t flags = 0;
    EXPECT_EQ(video->Get(devices::kVideoProcAmpContrast, &value, &flags), kOk);
    video.reset();
    EXPECT_TRUE(watch.expired());
}

TEST(FilterInterfaces, FiltersWithoutDeviceInterfacesAndNoFilterAtAll) {
    std::shared_ptr<media::Filter> plain = SimScannerFilter::Create();
    SimDeviceLog log;
    std::atomic<bool> unplugged{false};
    std::shared_ptr<devices::KsControl> ks =
        std::make_shared<SimKsTopology>(ScannerDevice(), log, unplugged);
    // A query empties the place even when it fails.
    EXPECT_EQ(devices::QueryKsControl(plain, &ks), kNoInterface);
    EXPECT_EQ(ks, nullptr);
    std::shared_ptr<devices::CameraControl> camera;
    EXPECT_EQ(devices::QueryCameraControl(nullptr, &camera), kPointer);
    EXPECT_EQ(devices::QueryCameraControl(plain, nullptr), kPointer);
}

TEST(SimDeviceFilter, UnpluggedDeviceFailsDeviceCallsAndRun) {
    auto device = SimDeviceFilter::Create(ScannerDevice());
    device->MarkUnplugged();
    EXPECT_FALSE(device->IsPlugged());
    std::int32_t value = 0;
    std::int32_t flags = 0;
    EXPECT_EQ(device->GetVideoProcAmp()->Get(devices::kVideoProcAmpContrast, &value, &flags),
              devices::kDeviceNotConnected);
    EXPECT_EQ(device->GetCameraControl()->Set(devices::kCameraControlRoll, 1, 0),
              devices::kDeviceNotConnected);
    EXPECT_EQ(device->PropertyWrites().back().status, devices::kDeviceNotConnected);
    EXPECT_EQ(device->Run(), devices::kDeviceNotConnected);
    EXPECT_EQ(device->State(), media::FilterState::kStopped);
}

}  // namespace
}  // namespace zv::sim
