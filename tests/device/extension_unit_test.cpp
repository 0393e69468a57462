#include "device/extension_unit_fixture.h"
#include "platform/devices/filter_interfaces.h"

#include <functional>
#include <string>

namespace zv {
namespace {

using namespace std::chrono_literals;
using devices::kKsPropertyTypeGet;
using devices::kKsTopologyBasicSupport;
using devices::kKsTopologyGet;
using devices::kKsTopologySet;
using devices::kKsTopologySetSupport;
using sim::SimExtensionUnitConfig;
using sim::SimKsRequest;
using sim::SimSelectorConfig;
using namespace test;

TEST_F(ExtensionUnitTest, ScannerUnitOpensWithItsTwoSelectors) {
    auto device = sim::SimDeviceFilter::Create(sim::ScannerDevice());
    ASSERT_EQ(Open(device), kOk);
    ASSERT_TRUE(handle.has_value());
    EXPECT_EQ(handle->NodeId(), sim::SimKsTopology::kFirstUnitNode);
    for (std::uint32_t s = 0; s <= ExtensionUnitHandle::kMaxSelector; ++s) {
        const SelectorEntry& entry = *handle->Entry(s);
        if (s == 10) {
            EXPECT_EQ(entry.access, kGetSet);
            EXPECT_EQ(entry.size, 8u);
        } else if (s == 11) {
            EXPECT_EQ(entry.access, kKsPropertyTypeGet);
            EXPECT_EQ(entry.size, 8u);
        } else {
            EXPECT_EQ(entry.access, 0u) << s;
            EXPECT_EQ(entry.size, 0u) << s;
        }
    }
    // Bits 9 and 10 with two controls: only selectors 10 and 11 are probed, one pause each.
    EXPECT_EQ(Ids(RequestsWith(*device, kKsTopologyBasicSupport)),
              (std::vector<std::uint32_t>{10, 11}));
    EXPECT_EQ(pause.Count(), 2);
    EXPECT_EQ(pause.Total(), 200ms);
    // The unit information was read into 64 bytes, the size probes had no buffer.
    const auto gets = RequestsWith(*device, kKsTopologyGet);
    ASSERT_EQ(gets.size(), 3u);
    EXPECT_EQ(gets[0].id, 0u);
    EXPECT_EQ(gets[0].dataLength, 64u);
    EXPECT_EQ(gets[1].dataLength, 0u);
    EXPECT_EQ(gets[2].dataLength, 0u);
    for (const SimKsRequest& request : device->KsRequests()) {
        EXPECT_EQ(request.nodeId, sim::SimKsTopology::kFirstUnitNode);
    }
}

TEST_F(ExtensionUnitTest, SecondDeviceSpecificNodeIsTheUnitWhenOnlyItTakesTheVendorSet) {
    SimExtensionUnitConfig other = Unit({Selector(1, kGetSet, 2)});
    other.propertySet = Guid{0x12345678, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 8}};
    auto device = Device({other, sim::ScannerExtensionUnit()});
    ASSERT_EQ(Open(device), kOk);
    EXPECT_EQ(handle->NodeId(), sim::SimKsTopology::kFirstUnitNode + 1);
    // The camera terminal and the processing unit are not device-specific: not asked.
    EXPECT_EQ(Ids(RequestsWith(*device, kKsTopologySetSupport)),
              (std::vector<std::uint32_t>{0, 0}));
    const auto asked = RequestsWith(*device, kKsTopologySetSupport);
    EXPECT_EQ(asked[0].nodeId, sim::SimKsTopology::kFirstUnitNode);
    EXPECT_EQ(asked[1].nodeId, sim::SimKsTopology::kFirstUnitNode + 1);
}

TEST_F(ExtensionUnitTest, NodeQualifiesOnlyWhenSetSupportAnswersExactlyOk) {
    SimExtensionUnitConfig falseAnswer = sim::ScannerExtensionUnit();
    falseAnswer.setSupportResult = kFalse;
    SimExtensionUnitConfig typeFails = sim::ScannerExtensionUnit();
    typeFails.nodeTypeResult = kFail;
    auto device = Device({falseAnswer, typeFails, sim::ScannerExtensionUnit()});
    ASSERT_EQ(Open(device), kOk);
    EXPECT_EQ(handle->NodeId(), sim::SimKsTopology::kFirstUnitNode + 2);
}

struct OpenFailureCase {
    const char* name;
    std::function<void(sim::SimDeviceConfig&)> change;
    Status expected;
};

class OpenFailureTest : public ExtensionUnitTest,
                        public testing::WithParamInterface<OpenFailureCase> {};

TEST_P(OpenFailureTest, GivesNoUnitButTheStatus) {
    sim::SimDeviceConfig config = sim::ScannerDevice();
    GetParam().change(config);
    auto device = sim::SimDeviceFilter::Create(std::move(config));
    EXPECT_EQ(Open(device), GetParam().expected);
    EXPECT_FALSE(handle.has_value());
    EXPECT_EQ(pause.Count(), 0);
    // Nothing of the device is held when no unit came of it.
    EXPECT_EQ(device.use_count(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpenFailureTest,
    testing::Values(
        OpenFailureCase{"NoKsControl", [](auto& s) { s.hasKsControl = false; }, kNoInterface},
        OpenFailureCase{"NoTopologyInfo", [](auto& s) { s.hasTopologyInfo = false; }, kNoInterface},
        OpenFailureCase{"NodeCountFails", [](auto& s) { s.numNodesResult = kUnexpected; },
                        kUnexpected},
        OpenFailureCase{"NoExtensionUnit", [](auto& s) { s.extensionUnits.clear(); }, kFail},
        OpenFailureCase{
            "OnlyAnotherVendorsUnit",
            [](auto& s) { s.extensionUnits[0].propertySet = contract::kCaptureInterfaceCategory; },
            kFail},
        OpenFailureCase{"UnitInformationFails",
                        [](auto& s) { s.extensionUnits[0].unitInfoResult = kNotReady; }, kNotReady},
        OpenFailureCase{
            "UnitInformationLongerThan64Bytes",
            [](auto& s) { s.extensionUnits[0].sourceIds = std::vector<std::uint8_t>(50, 1); },
            kMoreData},
        OpenFailureCase{"BitmapSizeZero", [](auto& s) { s.extensionUnits[0].bitmapSize = 0; }, kOk},
        OpenFailureCase{"BitmapSizeFive", [](auto& s) { s.extensionUnits[0].bitmapSize = 5; },
                        kOk}),
    [](const auto& param) { return std::string(param.param.name); });

// Unit information whose pin count or bitmap size points past the bytes the unit returned. The
// zeros of the buffer beyond them must not be taken for a bitmap size of 0 (which would answer
// success) or for a bitmap.
struct CutShortCase {
    const char* name;
    std::vector<std::uint8_t> info;
};

class CutShortTest : public ExtensionUnitTest, public testing::WithParamInterface<CutShortCase> {};

std::vector<std::uint8_t> InfoHead(std::uint8_t controls, std::vector<std::uint8_t> tail) {
    std::vector<std::uint8_t> info(16, 0xAB);
    info.push_back(controls);
    info.insert(info.end(), tail.begin(), tail.end());
    return info;
}

TEST_P(CutShortTest, FailsWithoutReadingPastTheReturnedBytes) {
    SimExtensionUnitConfig unit = sim::ScannerExtensionUnit();
    unit.unitInfo = GetParam().info;
    auto device = Device({unit});
    EXPECT_EQ(Open(device), kFail);
    EXPECT_FALSE(handle.has_value());
    EXPECT_TRUE(RequestsWith(*device, kKsTopologyBasicSupport).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CutShortTest,
    testing::Values(CutShortCase{"Empty", {}}, CutShortCase{"NoPinCount", InfoHead(2, {})},
                    CutShortCase{"PinCountPastTheEnd", InfoHead(2, {1})},
                    CutShortCase{"PinCountPast64Bytes", InfoHead(2, {200, 1, 2})},
                    CutShortCase{"SourceIdsCutShort", InfoHead(2, {3, 1, 2})},
                    CutShortCase{"BitmapCutShort", InfoHead(2, {1, 2, 3, 0x00})},
                    CutShortCase{"BitmapOneByteShort", InfoHead(2, {1, 2, 3, 0x00, 0x06})}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ExtensionUnitTest, ExactlyFittingUnitInformationWithoutStringIndexOpens) {
    SimExtensionUnitConfig unit = sim::ScannerExtensionUnit();
    unit.unitInfo = InfoHead(2, {1, 2, 3, 0x00, 0x06, 0x00});
    auto device = Device({unit});
    ASSERT_EQ(Open(device), kOk);
    EXPECT_EQ(handle->Entry(10)->size, 8u);
    EXPECT_EQ(handle->Entry(11)->size, 8u);
}

TEST_F(ExtensionUnitTest, BadBitmapSizeSucceedsWithoutAUnit) {
    SimExtensionUnitConfig unit = sim::ScannerExtensionUnit();
    unit.bitmapSize = 5;
    auto device = Device({unit});
    EXPECT_TRUE(Succeeded(Open(device)));
    EXPECT_FALSE(handle.has_value());
}

TEST_F(ExtensionUnitTest, ProbingStopsOnceAsManySizesAsControlsAreLearnt) {
    SimExtensionUnitConfig unit =
        Unit({Selector(1, kGetSet, 1), Selector(2, kGetSet, 2), Selector(3, kGetSet, 4)});
    unit.controlCount = 2;
    auto device = Device({unit});
    ASSERT_EQ(Open(device), kOk);
    EXPECT_EQ(Ids(RequestsWith(*device, kKsTopologyBasicSupport)),
              (std::vector<std::uint32_t>{1, 2}));
    EXPECT_EQ(handle->Entry(3)->access, 0u);
    EXPECT_EQ(pause.Count(), 2);
}

TEST_F(ExtensionUnitTest, SelectorsWhoseSizeIsNotLearntDoNotCountTowardsTheControls) {
    SimSelectorConfig noAccess = Selector(1, 0, 1);
    SimSelectorConfig basicFails = Selector(2, kGetSet, 1);
    basicFails.basicSupportResult = kFail;
    SimSelectorConfig noSize = Selector(3, kGetSet, 2);
    noSize.shortBufferResult = kOk;
    SimExtensionUnitConfig unit =
        Unit({noAccess, basicFails, noSize, Selector(4, kGetSet, 4), Selector(5, kGetSet, 8)});
    unit.controlCount = 1;
    auto device = Device({unit});
    ASSERT_EQ(Open(device), kOk);
    EXPECT_EQ(Ids(RequestsWith(*device, kKsTopologyBasicSupport)),
              (std::vector<std::uint32_t>{1, 2, 3, 4}));
    // Access 0 and a failed basic support take no size probe and no pause.
    EXPECT_EQ(pause.Count(), 2);
    EXPECT_EQ(handle->Entry(1)->access, 0u);
    EXPECT_EQ(handle->Entry(2)->access, 0u);
    // A size probe that succeeds without a size leaves the access and size 0.
    EXPECT_EQ(handle->Entry(3)->access, kGetSet);
    EXPECT_EQ(handle->Entry(3)->size, 0u);
    EXPECT_EQ(handle->Entry(4)->size, 4u);
    EXPECT_EQ(handle->Entry(5)->access, 0u);
    std::int64_t value = 0;
    EXPECT_EQ(GetSelector(*handle, 3, &value), kFail);
    EXPECT_EQ(GetSelector(*handle, 1, &value), kNotFound);
}

struct ProbeCase {
    const char* name;
    int notReadyAnswers;
    Status shortBufferResult;
    int expectedAttempts;
    std::uint32_t expectedAccess;
    std::uint32_t expectedSize;
};

class SizeProbeTest : public ExtensionUnitTest, public testing::WithParamInterface<ProbeCase> {};

TEST_P(SizeProbeTest, PausesAfterEveryAttemptAndGivesUpAfterTen) {
    SimSelectorConfig selector = Selector(4, kGetSet, 2);
    selector.notReadyAnswers = GetParam().notReadyAnswers;
    selector.shortBufferResult = GetParam().shortBufferResult;
    auto device = Device({Unit({selector})});
    ASSERT_EQ(Open(device), kOk);
    const auto probes = RequestsWith(*device, kKsTopologyGet);
    // The first get is the unit information.
    EXPECT_EQ(static_cast<int>(probes.size()) - 1, GetParam().expectedAttempts);
    EXPECT_EQ(pause.Count(), GetParam().expectedAttempts);
    EXPECT_EQ(pause.Total(), GetParam().expectedAttempts * 100ms);
    EXPECT_EQ(handle->Entry(4)->access, GetParam().expectedAccess);
    EXPECT_EQ(handle->Entry(4)->size, GetParam().expectedSize);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SizeProbeTest,
    testing::Values(ProbeCase{"AtOnce", 0, kMoreData, 1, kGetSet, 2},
                    ProbeCase{"InsufficientBuffer", 0, kInsufficientBuffer, 1, kGetSet, 2},
                    ProbeCase{"NotReadyThreeTimes", 3, kMoreData, 4, kGetSet, 2},
                    ProbeCase{"NotReadyNineTimes", 9, kMoreData, 10, kGetSet, 2},
                    ProbeCase{"NotReadyTenTimes", 10, kMoreData, 10, 0, 0},
                    ProbeCase{"NotReadyForever", 1000, kMoreData, 10, 0, 0},
                    ProbeCase{"OtherFailure", 0, kInvalidArg, 1, 0, 0},
                    ProbeCase{"SuccessWithoutSize", 0, kFalse, 1, kGetSet, 0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ExtensionUnitTest, DroppingTheHandleReleasesTheFilter) {
    auto device = sim::SimDeviceFilter::Create(sim::ScannerDevice());
    std::weak_ptr<sim::SimDeviceFilter> watch = device;
    ASSERT_EQ(Open(device), kOk);
    device.reset();
    EXPECT_FALSE(watch.expired());  // the handle's control interface keeps the filter
    handle.reset();
    EXPECT_TRUE(watch.expired());
}

TEST_F(ExtensionUnitTest, ReopeningClearsWhatTheLastUnitTaught) {
    ASSERT_EQ(Open(sim::SimDeviceFilter::Create(sim::ScannerDevice())), kOk);
    auto other = Device({Unit({Selector(3, kGetSet, 4)})});
    ASSERT_EQ(Open(other), kOk);
    EXPECT_EQ(handle->Entry(10)->access, 0u);
    EXPECT_EQ(handle->Entry(11)->size, 0u);
    EXPECT_EQ(handle->Entry(3)->size, 4u);
}

TEST_F(ExtensionUnitTest, NoFilterIsRefused) {
    EXPECT_EQ(Open(nullptr), kPointer);
    EXPECT_FALSE(handle.has_value());
}

}  // namespace
}  // namespace zv
