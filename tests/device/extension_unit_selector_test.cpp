#include "device/extension_unit_fixture.h"

#include <cstdint>
#include <string>

namespace zv {
namespace {

using devices::kKsPropertyTypeGet;
using devices::kKsPropertyTypeSet;
using devices::kKsTopologyGet;
using devices::kKsTopologySet;
using sim::SimSelectorConfig;
using namespace test;

// A unit with one selector of each width, readable and writable, holding `value`.
class SelectorAccessTest : public ExtensionUnitTest {
protected:
    void OpenWith(std::vector<SimSelectorConfig> selectors) {
        device = Device({Unit(std::move(selectors))});
        ASSERT_EQ(Open(device), kOk);
    }
    std::vector<std::uint8_t> LastSent() const {
        const auto sets = RequestsWith(*device, kKsTopologySet);
        return sets.empty() ? std::vector<std::uint8_t>{} : sets.back().sent;
    }

    std::shared_ptr<sim::SimDeviceFilter> device;
};

struct ReadCase {
    const char* name;
    std::uint32_t size;
    std::vector<std::uint8_t> bytes;
    std::int64_t expected;
};

class ReadTest : public SelectorAccessTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(ReadTest, WidensWithSignExtension) {
    OpenWith({Selector(6, kGetSet, GetParam().size, GetParam().bytes)});
    std::int64_t value = 12345;
    ASSERT_EQ(GetSelector(*handle, 6, &value), kOk);
    EXPECT_EQ(value, GetParam().expected);
    EXPECT_EQ(RequestsWith(*device, kKsTopologyGet).back().dataLength, GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadTest,
    testing::Values(ReadCase{"OneByteFF", 1, {0xFF}, -1}, ReadCase{"OneByte7F", 1, {0x7F}, 127},
                    ReadCase{"OneByte80", 1, {0x80}, -128},
                    ReadCase{"TwoBytesFFFF", 2, {0xFF, 0xFF}, -1},
                    ReadCase{"TwoBytesFF00", 2, {0xFF, 0x00}, 255},
                    ReadCase{"TwoBytes0080", 2, {0x00, 0x80}, -32768},
                    ReadCase{"FourBytesMinimum", 4, {0x00, 0x00, 0x00, 0x80}, INT32_MIN},
                    ReadCase{"FourBytesLittleEndian", 4, {0x78, 0x56, 0x34, 0x12}, 0x12345678},
                    ReadCase{"EightBytesAsTheyCame",
                             8,
                             {0x52, 0x45, 0x41, 0x4C, 0x53, 0x49, 0x4C, 0x00},
                             0x004C49534C414552},
                    ReadCase{"EightBytesNegative", 8, std::vector<std::uint8_t>(8, 0xFF), -1}),
    [](const auto& param) { return std::string(param.param.name); });

struct WriteCase {
    const char* name;
    std::uint32_t size;
    std::int64_t value;
    std::vector<std::uint8_t> expectedBytes;
};

class WriteTest : public SelectorAccessTest, public testing::WithParamInterface<WriteCase> {};

TEST_P(WriteTest, SendsTheLowestBytesLeastSignificantFirst) {
    OpenWith({Selector(6, kGetSet, GetParam().size)});
    ASSERT_EQ(SetSelector(*handle, 6, GetParam().value), kOk);
    EXPECT_EQ(LastSent(), GetParam().expectedBytes);
    EXPECT_EQ(RequestsWith(*device, kKsTopologySet).back().id, 6u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteTest,
    testing::Values(
        WriteCase{"FFToTwoBytes", 2, 0xFF, {0xFF, 0x00}},
        WriteCase{"MinusOneToOneByte", 1, -1, {0xFF}}, WriteCase{"CutToOneByte", 1, 0x1234, {0x34}},
        WriteCase{"FourBytes", 4, 0x12345678, {0x78, 0x56, 0x34, 0x12}},
        WriteCase{"RecoveryToEightBytes", 8, 0xFF, {0xFF, 0, 0, 0, 0, 0, 0, 0}},
        WriteCase{"NegativeToEightBytes", 8, -2, {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(SelectorAccessTest, ReadOfSizeThreeFailsWithoutARequest) {
    OpenWith({Selector(2, kGetSet, 3, {1, 2, 3})});
    ASSERT_EQ(handle->Entry(2)->size, 3u);
    const std::size_t before = device->KsRequests().size();
    std::int64_t value = 9;
    EXPECT_EQ(GetSelector(*handle, 2, &value), kFail);
    EXPECT_EQ(SetSelector(*handle, 2, 1), kFail);
    EXPECT_EQ(value, 9);
    EXPECT_EQ(device->KsRequests().size(), before);
}

TEST_F(SelectorAccessTest, AccessFlagsDecideWhatMayBeReadAndWritten) {
    OpenWith({Selector(1, kKsPropertyTypeGet, 1, {5}), Selector(2, kKsPropertyTypeSet, 1)});
    const std::size_t before = device->KsRequests().size();
    std::int64_t value = 0;
    EXPECT_EQ(GetSelector(*handle, 1, &value), kOk);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(SetSelector(*handle, 1, 1), kNotFound);
    EXPECT_EQ(GetSelector(*handle, 2, &value), kNotFound);
    EXPECT_EQ(SetSelector(*handle, 2, 1), kOk);
    // Selector 0 is the unit information; nothing lies past 32.
    EXPECT_EQ(GetSelector(*handle, 0, &value), kNotFound);
    EXPECT_EQ(SetSelector(*handle, 0, 1), kNotFound);
    EXPECT_EQ(GetSelector(*handle, 33, &value), kNotFound);
    EXPECT_EQ(SetSelector(*handle, 0xFFFFFFFF, 1), kNotFound);
    EXPECT_EQ(device->KsRequests().size(), before + 2);
}

TEST_F(SelectorAccessTest, FailedOrShortReadsLeaveTheValueAlone) {
    SimSelectorConfig failing = Selector(1, kGetSet, 2, {1, 0});
    failing.readResult = kNotReady;
    OpenWith({failing});
    std::int64_t value = 77;
    EXPECT_EQ(GetSelector(*handle, 1, &value), kNotReady);
    EXPECT_EQ(value, 77);
    EXPECT_EQ(GetSelector(*handle, 1, nullptr), kPointer);
}

TEST_F(SelectorAccessTest, UnpluggedDeviceAnswersEveryCallSo) {
    OpenWith({Selector(1, kGetSet, 2, {1, 0})});
    device->MarkUnplugged();
    std::int64_t value = 77;
    EXPECT_EQ(GetSelector(*handle, 1, &value), devices::kDeviceNotConnected);
    EXPECT_EQ(SetSelector(*handle, 1, 3), devices::kDeviceNotConnected);
    EXPECT_EQ(value, 77);
}

}  // namespace
}  // namespace zv
