#include "platform/v4l2/v4l2_status.h"

#include "platform/devices/ks_property.h"
#include "platform/devices/scanner_contract.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace zv::v4l2 {
namespace {

struct MappingCase {
    int error;
    Status extensionUnit;
    Status stream;
    Status controlQuery;
    Status controlSet;
};

class ErrnoMapping : public testing::TestWithParam<MappingCase> {};

TEST_P(ErrnoMapping, EachCallKindHasItsCodes) {
    const MappingCase& c = GetParam();
    EXPECT_EQ(ExtensionUnitStatus(c.error), c.extensionUnit);
    EXPECT_EQ(StreamStatus(c.error), c.stream);
    EXPECT_EQ(ControlStatus(c.error, true), c.controlQuery);
    EXPECT_EQ(ControlStatus(c.error, false), c.controlSet);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrnoMapping,
    testing::Values(
        MappingCase{0, kOk, kOk, kOk, kOk},
        // Busy: a unit not ready yet, a device held by another program.
        MappingCase{EBUSY, kNotReady, kSharingViolation, StatusFromErrno(EBUSY),
                    StatusFromErrno(EBUSY)},
        MappingCase{EAGAIN, kNotReady, StatusFromErrno(EAGAIN), StatusFromErrno(EAGAIN),
                    StatusFromErrno(EAGAIN)},
        MappingCase{ENOENT, kNotFound, StatusFromErrno(ENOENT), StatusFromErrno(ENOENT),
                    StatusFromErrno(ENOENT)},
        MappingCase{ENODEV, devices::kDeviceNotConnected, devices::kDeviceNotConnected,
                    devices::kDeviceNotConnected, devices::kDeviceNotConnected},
        MappingCase{EINVAL, MakeStatus(0x80070016), MakeStatus(0x80070016), kNotFound, kInvalidArg},
        MappingCase{ERANGE, MakeStatus(0x80070022), MakeStatus(0x80070022), kInvalidArg,
                    kInvalidArg},
        // USB bandwidth exhaustion is its own failure, not the busy device.
        MappingCase{ENOSPC, MakeStatus(0x8007001C), MakeStatus(0x8007001C), MakeStatus(0x8007001C),
                    MakeStatus(0x8007001C)},
        // A stalled request would read as 0x80070020; where that means "locked" it must not.
        MappingCase{EPIPE, MakeStatus(0x80070020), kFail, kFail, kFail},
        MappingCase{EIO, MakeStatus(0x80070005), MakeStatus(0x80070005), MakeStatus(0x80070005),
                    MakeStatus(0x80070005)}));

TEST(ErrnoMapping, OnlyABusyStreamReadsAsALockedDevice) {
    for (int error = 1; error < 200; ++error) {
        EXPECT_EQ(contract::IsBusyStatus(StreamStatus(error)), error == EBUSY) << error;
        EXPECT_FALSE(contract::IsBusyStatus(ControlStatus(error, false))) << error;
    }
}

}  // namespace
}  // namespace zv::v4l2
