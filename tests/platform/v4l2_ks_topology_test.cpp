#include "platform/v4l2_ks_topology_fixture.h"

#include <cerrno>

namespace zv::v4l2 {
namespace {

using namespace test;

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
