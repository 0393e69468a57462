#include "platform/v4l2/v4l2_ks_topology.h"

#include "platform/devices/ks_property.h"
#include "platform/devices/scanner_contract.h"
#include "platform/v4l2/uvc_descriptors.h"
#include "platform/v4l2_descriptor_blobs.h"
#include "platform/v4l2_scripted_io.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <vector>

namespace zv::v4l2 {
namespace {

using Bytes = std::vector<std::uint8_t>;
using devices::kKsTopologyBasicSupport;
using devices::kKsTopologyGet;
using devices::kKsTopologySet;
using devices::kKsTopologySetSupport;

// The node numbers of the bench scanner's units.
constexpr std::uint32_t kCameraNode = 0;
constexpr std::uint32_t kProcessingNode = 1;
constexpr std::uint32_t kUnitNode = 2;
constexpr std::uint8_t kUnitId = 4;

// The bench scanner's extension unit behind a scripted driver.
class ExtensionUnitFixture : public testing::Test {
protected:
    ExtensionUnitFixture() {
        test::ScriptedNode node;
        node.devnode = "/dev/video1";
        node.selectors[{kUnitId, 10}] = test::ScriptedSelector{0x03, Bytes(8, 0)};
        node.selectors[{kUnitId, 11}] = test::ScriptedSelector{0x01, Bytes{1, 2, 3, 4, 5, 6, 7, 8}};
        node.selectors[{kUnitId, 12}] = test::ScriptedSelector{0x03, Bytes{0xAA, 0xBB}};
        io.AddNode(node);
        fd = io.Open("/dev/video1");
        topology = std::make_unique<V4l2KsTopology>(
            io, fd, ParseUvcDescriptors(test::kScannerDescriptors, 0).entities);
        io.ClearLog();
    }

    Status Request(std::uint32_t flags, std::uint32_t id, std::uint32_t node, Bytes* data,
                   const Guid& set = contract::kExtensionUnitPropertySet) {
        devices::KsNodeProperty request;
        request.set = set;
        request.id = id;
        request.flags = flags;
        request.nodeId = node;
        returned = 0xDEAD;
        return topology->KsProperty(request, *data, &returned);
    }

    test::ScriptedV4l2Io io;
    int fd = -1;
    std::unique_ptr<V4l2KsTopology> topology;
    std::uint32_t returned = 0;
};

TEST_F(ExtensionUnitFixture, NodesAreTheUnitsInDescriptorOrder) {
    std::uint32_t count = 0;
    ASSERT_EQ(topology->GetNumNodes(&count), kOk);
    ASSERT_EQ(count, 3u);
    const Guid expected[] = {devices::kKsNodeTypeVideoCameraTerminal,
                             devices::kKsNodeTypeVideoProcessing, devices::kKsNodeTypeDevSpecific};
    for (std::uint32_t node = 0; node < count; ++node) {
        Guid type;
        ASSERT_EQ(topology->GetNodeType(node, &type), kOk);
        EXPECT_EQ(type, expected[node]) << node;
    }
    Guid type;
    EXPECT_EQ(topology->GetNodeType(3, &type), kInvalidArg);
    EXPECT_EQ(topology->GetNodeType(0, nullptr), kPointer);
    EXPECT_EQ(topology->GetNumNodes(nullptr), kPointer);
}

struct RequestCase {
    const char* name;
    std::uint32_t flags;
    std::uint32_t id;
    std::uint32_t node;
    std::size_t dataSize;
    bool otherSet;
    Status status;
    std::uint32_t returned;
    Bytes data;                    // the buffer's start afterwards (when not empty)
    std::vector<std::string> log;  // the driver requests made
};

class ExtensionUnitRequest : public ExtensionUnitFixture,
                             public testing::WithParamInterface<RequestCase> {};

TEST_P(ExtensionUnitRequest, BecomesTheDriversControlQuery) {
    const RequestCase& c = GetParam();
    Bytes data(c.dataSize, 0xEE);
    const Guid other{0x28F03370, 0x6311, 0x4A2E, {0xBA, 0x2C, 0x68, 0x90, 0xEB, 0x33, 0x40, 0x16}};
    EXPECT_EQ(Request(c.flags, c.id, c.node, &data,
                      c.otherSet ? other : contract::kExtensionUnitPropertySet),
              c.status);
    EXPECT_EQ(returned, c.returned);
    if (!c.data.empty()) {
        EXPECT_EQ(Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(c.data.size())),
                  c.data);
    }
    EXPECT_EQ(io.Log(), c.log);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExtensionUnitRequest,
    testing::Values(
        // Only the extension unit under its own GUID answers; nothing reaches the driver.
        RequestCase{"SetSupport", kKsTopologySetSupport, 0, kUnitNode, 4, false, kOk, 0, {}, {}},
        RequestCase{"SetSupportOtherGuid",
                    kKsTopologySetSupport,
                    0,
                    kUnitNode,
                    4,
                    true,
                    devices::kSetNotFound,
                    0,
                    {},
                    {}},
        RequestCase{"SetSupportCameraTerminal",
                    kKsTopologySetSupport,
                    0,
                    kCameraNode,
                    4,
                    false,
                    devices::kSetNotFound,
                    0,
                    {},
                    {}},
        RequestCase{"SetSupportProcessingUnit",
                    kKsTopologySetSupport,
                    0,
                    kProcessingNode,
                    4,
                    false,
                    devices::kSetNotFound,
                    0,
                    {},
                    {}},
        RequestCase{"WithoutTopologyFlag",
                    devices::kKsPropertyTypeGet,
                    0,
                    kUnitNode,
                    64,
                    false,
                    devices::kSetNotFound,
                    0,
                    {},
                    {}},
        RequestCase{"NodePastTheEnd", kKsTopologySetSupport, 0, 3, 4, false, kNotFound, 0, {}, {}},
        // The unit information is the descriptor from its GUID on.
        RequestCase{"UnitInformation",
                    kKsTopologyGet,
                    0,
                    kUnitNode,
                    64,
                    false,
                    kOk,
                    23,
                    {0x8C, 0xA7, 0x29, 0x12},
                    {}},
        RequestCase{"UnitInformationShortBuffer",
                    kKsTopologyGet,
                    0,
                    kUnitNode,
                    8,
                    false,
                    kMoreData,
                    23,
                    {0xEE},
                    {}},
        RequestCase{"UnitInformationOtherKind",
                    kKsTopologyBasicSupport,
                    0,
                    kUnitNode,
                    4,
                    false,
                    kNotFound,
                    0,
                    {},
                    {}},
        // Basic support is GET_INFO: bit 0 read, bit 1 write.
        RequestCase{"BasicSupportReadWrite",
                    kKsTopologyBasicSupport,
                    10,
                    kUnitNode,
                    4,
                    false,
                    kOk,
                    4,
                    {0x03, 0x00, 0x00, 0x00},
                    {"XU GET_INFO 4/10"}},
        RequestCase{"BasicSupportReadOnly",
                    kKsTopologyBasicSupport,
                    11,
                    kUnitNode,
                    4,
                    false,
                    kOk,
                    4,
                    {0x01, 0x00, 0x00, 0x00},
                    {"XU GET_INFO 4/11"}},
        RequestCase{"BasicSupportShortBuffer",
                    kKsTopologyBasicSupport,
                    11,
                    kUnitNode,
                    2,
                    false,
                    kMoreData,
                    4,
                    {0xEE},
                    {"XU GET_INFO 4/11"}},
        RequestCase{"BasicSupportUnknownSelector",
                    kKsTopologyBasicSupport,
                    5,
                    kUnitNode,
                    4,
                    false,
                    kNotFound,
                    0,
                    {},
                    {"XU ? 4/5"}},
        // The size probe: a get without a buffer answers GET_LEN as more data.
        RequestCase{"SizeProbe",
                    kKsTopologyGet,
                    11,
                    kUnitNode,
                    0,
                    false,
                    kMoreData,
                    8,
                    {},
                    {"XU GET_LEN 4/11"}},
        RequestCase{"SizeProbeTwoBytes",
                    kKsTopologyGet,
                    12,
                    kUnitNode,
                    0,
                    false,
                    kMoreData,
                    2,
                    {},
                    {"XU GET_LEN 4/12"}},
        RequestCase{"Read",
                    kKsTopologyGet,
                    11,
                    kUnitNode,
                    8,
                    false,
                    kOk,
                    8,
                    {1, 2, 3, 4, 5, 6, 7, 8},
                    {"XU GET_LEN 4/11", "XU GET_CUR 4/11"}},
        RequestCase{"ReadIntoALargerBuffer",
                    kKsTopologyGet,
                    12,
                    kUnitNode,
                    8,
                    false,
                    kOk,
                    2,
                    {0xAA, 0xBB, 0xEE},
                    {"XU GET_LEN 4/12", "XU GET_CUR 4/12"}},
        RequestCase{"ReadShortBuffer",
                    kKsTopologyGet,
                    11,
                    kUnitNode,
                    4,
                    false,
                    kMoreData,
                    8,
                    {0xEE},
                    {"XU GET_LEN 4/11"}},
        RequestCase{"WriteReadOnly",
                    kKsTopologySet,
                    11,
                    kUnitNode,
                    8,
                    false,
                    StatusFromErrno(EBADRQC),
                    0,
                    {},
                    {"XU GET_LEN 4/11", "XU SET_CUR 4/11"}},
        RequestCase{"WriteShortBuffer",
                    kKsTopologySet,
                    10,
                    kUnitNode,
                    4,
                    false,
                    kInsufficientBuffer,
                    8,
                    {},
                    {"XU GET_LEN 4/10"}},
        RequestCase{"SelectorBeyondOneByte",
                    kKsTopologyGet,
                    256 + 10,
                    kUnitNode,
                    8,
                    false,
                    kNotFound,
                    0,
                    {},
                    {}},
        RequestCase{"UnknownKind",
                    devices::kKsPropertyTypeTopology | 0x4,
                    10,
                    kUnitNode,
                    8,
                    false,
                    kInvalidArg,
                    0,
                    {},
                    {}}),
    [](const testing::TestParamInfo<RequestCase>& p) { return p.param.name; });

TEST_F(ExtensionUnitFixture, WriteSendsTheSelectorsLengthAndTheLengthIsAskedOnce) {
    Bytes command = {0x00, 0xD0, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x77, 0x77};
    ASSERT_EQ(Request(kKsTopologySet, 10, kUnitNode, &command), kOk);
    EXPECT_EQ(io.SelectorValue(kUnitId, 10), Bytes(command.begin(), command.begin() + 8));
    Bytes none;
    ASSERT_EQ(Request(kKsTopologyGet, 10, kUnitNode, &none), kMoreData);
    EXPECT_EQ(returned, 8u);
    Bytes value(8);
    ASSERT_EQ(Request(kKsTopologyGet, 10, kUnitNode, &value), kOk);
    EXPECT_EQ(value, Bytes(command.begin(), command.begin() + 8));
    EXPECT_EQ(io.Log(),
              (std::vector<std::string>{"XU GET_LEN 4/10", "XU SET_CUR 4/10", "XU GET_CUR 4/10"}));
}

struct ErrnoCase {
    int error;
    Status status;
};

class ExtensionUnitErrno : public ExtensionUnitFixture,
                           public testing::WithParamInterface<ErrnoCase> {};

// Every request kind reports the driver's errno the same way.
TEST_P(ExtensionUnitErrno, MapsToTheStatusCallersRelyOn) {
    const int error = GetParam().error;
    io.ChangeNode("/dev/video1", [&](test::ScriptedNode& node) {
        node.selectors[{kUnitId, 10}].infoErrno = error;
        node.selectors[{kUnitId, 11}].lengthErrno = error;
        node.selectors[{kUnitId, 12}].getErrno = error;
        node.selectors[{kUnitId, 12}].setErrno = error;
    });
    Bytes access(4);
    EXPECT_EQ(Request(kKsTopologyBasicSupport, 10, kUnitNode, &access), GetParam().status);
    Bytes none;
    EXPECT_EQ(Request(kKsTopologyGet, 11, kUnitNode, &none), GetParam().status);
    Bytes value(2);
    EXPECT_EQ(Request(kKsTopologyGet, 12, kUnitNode, &value), GetParam().status);
    EXPECT_EQ(Request(kKsTopologySet, 12, kUnitNode, &value), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(Table, ExtensionUnitErrno,
                         testing::Values(ErrnoCase{EBUSY, kNotReady}, ErrnoCase{EAGAIN, kNotReady},
                                         ErrnoCase{ENOENT, kNotFound},
                                         ErrnoCase{ENODEV, devices::kDeviceNotConnected},
                                         ErrnoCase{EIO, MakeStatus(0x80070005)},
                                         ErrnoCase{EINVAL, MakeStatus(0x80070016)},
                                         ErrnoCase{ENOBUFS, MakeStatus(0x80070069)},
                                         ErrnoCase{EPIPE, MakeStatus(0x80070020)}));

TEST_F(ExtensionUnitFixture, NotReadyLengthIsAskedAgainNextTime) {
    io.ChangeNode("/dev/video1", [](test::ScriptedNode& node) {
        node.selectors[{kUnitId, 11}].lengthErrno = EBUSY;
    });
    Bytes none;
    EXPECT_EQ(Request(kKsTopologyGet, 11, kUnitNode, &none), kNotReady);
    io.ChangeNode("/dev/video1", [](test::ScriptedNode& node) {
        node.selectors[{kUnitId, 11}].lengthErrno = 0;
    });
    EXPECT_EQ(Request(kKsTopologyGet, 11, kUnitNode, &none), kMoreData);
    EXPECT_EQ(returned, 8u);
}

TEST_F(ExtensionUnitFixture, UnpluggedDeviceAnswersNotConnected) {
    io.Unplug();
    Bytes access(4);
    EXPECT_EQ(Request(kKsTopologyBasicSupport, 10, kUnitNode, &access),
              devices::kDeviceNotConnected);
    // Answered from the descriptors, which the unit had.
    EXPECT_EQ(Request(kKsTopologySetSupport, 0, kUnitNode, &access), kOk);
}

TEST(V4l2KsTopology, DeviceWithoutDescriptorsHasNoNodes) {
    test::ScriptedV4l2Io io;
    V4l2KsTopology topology(io, -1, {});
    std::uint32_t count = 7;
    ASSERT_EQ(topology.GetNumNodes(&count), kOk);
    EXPECT_EQ(count, 0u);
    devices::KsNodeProperty request;
    request.set = contract::kExtensionUnitPropertySet;
    request.flags = kKsTopologySetSupport;
    std::uint32_t returned = 0;
    EXPECT_EQ(topology.KsProperty(request, {}, &returned), kNotFound);
    EXPECT_EQ(topology.KsProperty(request, {}, nullptr), kPointer);
}

TEST(V4l2KsTopology, TruncatedUnitInformationIsAnsweredAsItIs) {
    // An extension unit whose descriptor ends right after its GUID and control count.
    UvcEntity unit;
    unit.kind = UvcEntityKind::kExtensionUnit;
    unit.id = 9;
    unit.guid = GuidDescriptorBytes(contract::kExtensionUnitPropertySet);
    unit.unitInformation.assign(unit.guid.begin(), unit.guid.end());
    unit.unitInformation.push_back(2);
    test::ScriptedV4l2Io io;
    V4l2KsTopology topology(io, -1, {unit});
    devices::KsNodeProperty request;
    request.set = contract::kExtensionUnitPropertySet;
    request.flags = kKsTopologyGet;
    Bytes info(64, 0xEE);
    std::uint32_t returned = 0;
    ASSERT_EQ(topology.KsProperty(request, info, &returned), kOk);
    EXPECT_EQ(returned, 17u);
    EXPECT_EQ(info[16], 2);
    EXPECT_EQ(info[17], 0xEE);  // nothing written past what the unit holds
}

}  // namespace
}  // namespace zv::v4l2
