#include "platform/sim/sim_ks_topology.h"

#include "platform/devices/ks_property.h"
#include "platform/devices/scanner_contract.h"

#include <array>
#include <gtest/gtest.h>

namespace zv::sim {
namespace {

using devices::kKsTopologyBasicSupport;
using devices::kKsTopologyGet;
using devices::kKsTopologySet;
using devices::kKsTopologySetSupport;
using devices::KsNodeProperty;

constexpr std::uint32_t kUnitNode = SimKsTopology::kFirstUnitNode;

KsNodeProperty Request(std::uint32_t id, std::uint32_t flags, std::uint32_t node = kUnitNode,
                       const Guid& set = contract::kExtensionUnitPropertySet) {
    KsNodeProperty request;
    request.set = set;
    request.id = id;
    request.flags = flags;
    request.nodeId = node;
    return request;
}

class SimKsTopologyTest : public testing::Test {
protected:
    explicit SimKsTopologyTest(SimDeviceConfig deviceConfig = ScannerDevice())
        : config(std::move(deviceConfig)), topology(config, log, unplugged) {}

    // Sends a request with a buffer of `length` bytes; returns the status, the bytes returned and
    // the buffer's first `returned` bytes.
    struct Answer {
        Status status;
        std::uint32_t returned;
        std::vector<std::uint8_t> bytes;
    };
    Answer Ask(const KsNodeProperty& request, std::size_t length,
               std::vector<std::uint8_t> data = {}) {
        data.resize(length, 0xCC);
        std::uint32_t returned = 12345;
        const Status status = topology.KsProperty(request, data, &returned);
        data.resize(std::min<std::size_t>(returned, length));
        return {status, returned, data};
    }

    SimDeviceConfig config;
    SimDeviceLog log;
    std::atomic<bool> unplugged{false};
    SimKsTopology topology;
};

TEST_F(SimKsTopologyTest, NodesAreCameraTerminalProcessingUnitThenTheUnits) {
    std::uint32_t count = 0;
    ASSERT_EQ(topology.GetNumNodes(&count), kOk);
    EXPECT_EQ(count, 3u);
    Guid type;
    ASSERT_EQ(topology.GetNodeType(0, &type), kOk);
    EXPECT_EQ(type, devices::kKsNodeTypeVideoCameraTerminal);
    ASSERT_EQ(topology.GetNodeType(1, &type), kOk);
    EXPECT_EQ(type, devices::kKsNodeTypeVideoProcessing);
    ASSERT_EQ(topology.GetNodeType(2, &type), kOk);
    EXPECT_EQ(type, devices::kKsNodeTypeDevSpecific);
    EXPECT_EQ(topology.GetNodeType(3, &type), kInvalidArg);
    EXPECT_EQ(topology.GetNumNodes(nullptr), kPointer);
}

TEST_F(SimKsTopologyTest, UnitInformationFollowsTheExtensionUnitDescriptor) {
    const Answer answer = Ask(Request(0, kKsTopologyGet), 64);
    ASSERT_EQ(answer.status, kOk);
    // Code (16), controls, pins, one source id, bitmap size, 3 bitmap bytes, string index.
    const std::vector<std::uint8_t> expected{0x8C, 0xA7, 0x29, 0x12, 0xB4, 0x47, 0x94, 0x40,
                                             0xB0, 0xCE, 0xDB, 0x07, 0x38, 0x6F, 0xB9, 0x38,
                                             2,    1,    2,    3,    0x00, 0x06, 0x00, 0};
    EXPECT_EQ(answer.bytes, expected);
    EXPECT_EQ(answer.returned, expected.size());
}

TEST_F(SimKsTopologyTest, UnitInformationTooLongForTheBufferAnswersMoreData) {
    const Answer answer = Ask(Request(0, kKsTopologyGet), 10);
    EXPECT_EQ(answer.status, kMoreData);
    EXPECT_EQ(answer.returned, 24u);
    EXPECT_EQ(answer.bytes, std::vector<std::uint8_t>(10, 0xCC));
}

struct RoutingCase {
    const char* name;
    KsNodeProperty request;
    Status expected;
};

class RoutingTest : public SimKsTopologyTest, public testing::WithParamInterface<RoutingCase> {};

TEST_P(RoutingTest, OnlyTheUnitKnowsTheVendorSet) {
    EXPECT_EQ(Ask(GetParam().request, 4).status, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoutingTest,
    testing::Values(RoutingCase{"SetSupportOnTheUnit", Request(0, kKsTopologySetSupport), kOk},
                    RoutingCase{"SetSupportOnTheCameraTerminal",
                                Request(0, kKsTopologySetSupport, 0), devices::kSetNotFound},
                    RoutingCase{"SetSupportOnTheProcessingUnit",
                                Request(0, kKsTopologySetSupport, 1), devices::kSetNotFound},
                    RoutingCase{"SetSupportPastTheLastNode", Request(0, kKsTopologySetSupport, 3),
                                kNotFound},
                    RoutingCase{"AnotherPropertySet",
                                Request(0, kKsTopologySetSupport, kUnitNode,
                                        contract::kCaptureInterfaceCategory),
                                devices::kSetNotFound},
                    RoutingCase{"WithoutTheTopologyFlag", Request(0, devices::kKsPropertyTypeGet),
                                devices::kSetNotFound},
                    RoutingCase{"UnknownSelector", Request(12, kKsTopologyGet), kNotFound},
                    RoutingCase{"BasicSupportOfTheUnitInformation",
                                Request(0, kKsTopologyBasicSupport), kNotFound},
                    RoutingCase{"WriteToTheReplySelector", Request(11, kKsTopologySet), kNotFound}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(SimKsTopologyTest, BasicSupportAnswersTheAccessFlags) {
    const Answer command = Ask(Request(10, kKsTopologyBasicSupport), 4);
    ASSERT_EQ(command.status, kOk);
    EXPECT_EQ(command.bytes, (std::vector<std::uint8_t>{3, 0, 0, 0}));
    const Answer reply = Ask(Request(11, kKsTopologyBasicSupport), 4);
    ASSERT_EQ(reply.status, kOk);
    EXPECT_EQ(reply.bytes, (std::vector<std::uint8_t>{1, 0, 0, 0}));
}

TEST_F(SimKsTopologyTest, GetWithoutBufferAnswersTheSize) {
    const Answer answer = Ask(Request(10, kKsTopologyGet), 0);
    EXPECT_EQ(answer.status, kMoreData);
    EXPECT_EQ(answer.returned, 8u);
}

TEST_F(SimKsTopologyTest, IdentificationCommandMakesTheReplySelectorAnswer) {
    EXPECT_EQ(Ask(Request(11, kKsTopologyGet), 8).bytes, std::vector<std::uint8_t>(8, 0));
    const std::vector<std::uint8_t> command(contract::kIdentifyCommand.begin(),
                                            contract::kIdentifyCommand.end());
    ASSERT_EQ(Ask(Request(10, kKsTopologySet), 8, command).status, kOk);
    const Answer reply = Ask(Request(11, kKsTopologyGet), 8);
    ASSERT_EQ(reply.status, kOk);
    EXPECT_EQ(reply.bytes, (std::vector<std::uint8_t>{'R', 'E', 'A', 'L', 'S', 'I', 'L', 0}));
    // The command selector reads back what was written.
    EXPECT_EQ(Ask(Request(10, kKsTopologyGet), 8).bytes, command);
    // Anything else on the command selector clears the reply.
    ASSERT_EQ(Ask(Request(10, kKsTopologySet), 8, {0xFF}).status, kOk);
    EXPECT_EQ(Ask(Request(11, kKsTopologyGet), 8).bytes, std::vector<std::uint8_t>(8, 0));
}

TEST_F(SimKsTopologyTest, WriteOfTheWrongLengthIsRefused) {
    EXPECT_EQ(Ask(Request(10, kKsTopologySet), 4, {0, 0xD0, 0, 0}).status, kInvalidArg);
    EXPECT_EQ(Ask(Request(11, kKsTopologyGet), 8).bytes, std::vector<std::uint8_t>(8, 0));
}

TEST_F(SimKsTopologyTest, EveryRequestIsLoggedWithItsAnswer) {
    Ask(Request(0, kKsTopologySetSupport), 4);
    Ask(Request(10, kKsTopologySet), 8, {1, 2, 3, 4, 5, 6, 7, 8});
    Ask(Request(10, kKsTopologyGet), 0);
    const auto requests = log.KsRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].flags, kKsTopologySetSupport);
    EXPECT_EQ(requests[0].status, kOk);
    EXPECT_EQ(requests[1].flags, kKsTopologySet);
    EXPECT_EQ(requests[1].id, 10u);
    EXPECT_EQ(requests[1].nodeId, kUnitNode);
    EXPECT_EQ(requests[1].sent, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(requests[2].dataLength, 0u);
    EXPECT_EQ(requests[2].status, kMoreData);
    EXPECT_EQ(requests[2].bytesReturned, 8u);
    EXPECT_TRUE(requests[2].sent.empty());
}

TEST_F(SimKsTopologyTest, UnpluggedDeviceAnswersNothingElse) {
    unplugged = true;
    std::uint32_t count = 0;
    Guid type;
    EXPECT_EQ(topology.GetNumNodes(&count), devices::kDeviceNotConnected);
    EXPECT_EQ(topology.GetNodeType(0, &type), devices::kDeviceNotConnected);
    EXPECT_EQ(Ask(Request(0, kKsTopologySetSupport), 4).status, devices::kDeviceNotConnected);
}

class NotReadySelectorTest : public SimKsTopologyTest {
protected:
    static SimDeviceConfig DeviceConfig() {
        SimDeviceConfig config = ScannerDevice();
        config.extensionUnits[0].selectors[0].notReadyAnswers = 2;
        config.extensionUnits[0].selectors[1].shortBufferResult = kInsufficientBuffer;
        return config;
    }
    NotReadySelectorTest() : SimKsTopologyTest(DeviceConfig()) {}
};

TEST_F(NotReadySelectorTest, AnswersNotReadyAsOftenAsConfiguredThenTheSize) {
    EXPECT_EQ(Ask(Request(10, kKsTopologyGet), 0).status, kNotReady);
    EXPECT_EQ(Ask(Request(10, kKsTopologyGet), 0).status, kNotReady);
    const Answer answer = Ask(Request(10, kKsTopologyGet), 0);
    EXPECT_EQ(answer.status, kMoreData);
    EXPECT_EQ(answer.returned, 8u);
    const Answer other = Ask(Request(11, kKsTopologyGet), 0);
    EXPECT_EQ(other.status, kInsufficientBuffer);
    EXPECT_EQ(other.returned, 8u);
}

TEST(SimKsTopologyUnitInformation, BitmapAndCountsFollowTheConfiguration) {
    SimExtensionUnitConfig unit;
    unit.sourceIds = {4, 5};
    unit.bitmapSize = 5;
    unit.controlCount = 7;
    unit.bitmap = 0x80000001;
    unit.extensionCode = Guid{0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
    const std::vector<std::uint8_t> info = SimKsTopology::UnitInformation(unit);
    const std::vector<std::uint8_t> expected{4,  3,  2, 1, 6, 5, 8, 7,    9, 10, 11,   12, 13, 14,
                                             15, 16, 7, 2, 4, 5, 5, 0x01, 0, 0,  0x80, 0,  0};
    EXPECT_EQ(info, expected);
    unit.unitInfo = std::vector<std::uint8_t>{1, 2, 3};
    EXPECT_EQ(SimKsTopology::UnitInformation(unit), (std::vector<std::uint8_t>{1, 2, 3}));
}

}  // namespace
}  // namespace zv::sim
