#include "device/identify_chip.h"

#include "device/extension_unit.h"
#include "device/recording_pause.h"
#include "platform/devices/ks_property.h"
#include "platform/devices/scanner_contract.h"
#include "platform/sim/sim_device_filter.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

using devices::kKsTopologyGet;
using devices::kKsTopologySet;
using sim::SimKsRequest;

const std::vector<std::uint8_t> kCommandBytes{0x00, 0xD0, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00};
const std::vector<std::uint8_t> kRecoveryBytes{0xFF, 0, 0, 0, 0, 0, 0, 0};

// The requests after opening, as (flags, selector, bytes sent).
struct Exchange {
    std::uint32_t flags;
    std::uint32_t id;
    std::vector<std::uint8_t> sent;
    friend bool operator==(const Exchange&, const Exchange&) = default;
};

void PrintTo(const Exchange& e, std::ostream* out) {
    *out << (e.flags == kKsTopologySet ? "set " : "get ") << e.id << " [" << e.sent.size()
         << " bytes]";
}

struct IdentifyCase {
    const char* name;
    std::function<void(sim::SimExtensionUnitConfig&)> change;
    bool expected;
    std::vector<Exchange> expectedExchange;
};

const Exchange kWriteCommand{kKsTopologySet, 10, kCommandBytes};
const Exchange kReadReply{kKsTopologyGet, 11, {}};
const Exchange kReadCommandSelector{kKsTopologyGet, 10, {}};
const Exchange kWriteRecovery{kKsTopologySet, 10, kRecoveryBytes};

class IdentifyChipTest : public testing::TestWithParam<IdentifyCase> {};

TEST_P(IdentifyChipTest, AnswersAndExchangesAsTheChipDid) {
    sim::SimDeviceConfig config = sim::ScannerDevice();
    GetParam().change(config.extensionUnits[0]);
    auto device = sim::SimDeviceFilter::Create(std::move(config));
    test::RecordingPause pause;
    OpenedExtensionUnit unit = OpenExtensionUnit(device, pause.Function());
    ASSERT_EQ(unit.status, kOk);
    const ExtensionUnitHandle& handle = *unit.unit;
    const std::size_t opened = device->KsRequests().size();

    EXPECT_EQ(IdentifyChip(handle), GetParam().expected);

    std::vector<Exchange> exchange;
    const auto requests = device->KsRequests();
    for (std::size_t i = opened; i < requests.size(); ++i) {
        exchange.push_back({requests[i].flags, requests[i].id, requests[i].sent});
    }
    EXPECT_EQ(exchange, GetParam().expectedExchange);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IdentifyChipTest,
    testing::Values(
        IdentifyCase{"Scanner", [](auto&) {}, true, {kWriteCommand, kReadReply}},
        IdentifyCase{"ReplyWithoutZeroByte",
                     [](auto& u) { u.reply = {'R', 'E', 'A', 'L', 'S', 'I', 'L', 'X'}; },
                     false,
                     {kWriteCommand, kReadReply}},
        IdentifyCase{"ReplyOfAnotherChip",
                     [](auto& u) { u.reply = {'R', 'E', 'A', 'L', 'T', 'E', 'K', 0}; },
                     false,
                     {kWriteCommand, kReadReply}},
        IdentifyCase{"ChipIgnoresTheCommand",
                     [](auto& u) { u.answersIdentification = false; },
                     false,
                     {kWriteCommand, kReadReply}},
        // A 4-byte reply selector widens "REAL" to 64 bits: never the expected reply.
        IdentifyCase{"FourByteReplySelector",
                     [](auto& u) { u.selectors[1].size = 4; },
                     false,
                     {kWriteCommand, kReadReply}},
        IdentifyCase{"WriteFails",
                     [](auto& u) { u.selectors[0].writeResult = kFail; },
                     false,
                     {kWriteCommand, kReadCommandSelector, kWriteRecovery}},
        IdentifyCase{"ReadFails",
                     [](auto& u) { u.selectors[1].readResult = kNotReady; },
                     false,
                     {kWriteCommand, kReadReply, kReadCommandSelector, kWriteRecovery}},
        // Without its read bit the reply selector fails before any request is sent; the
        // recovery follows.
        IdentifyCase{"ReplySelectorNotReadable",
                     [](auto& u) { u.selectors[1].access = devices::kKsPropertyTypeSet; },
                     false,
                     {kWriteCommand, kReadCommandSelector, kWriteRecovery}},
        IdentifyCase{
            "CommandSelectorOfThreeBytes", [](auto& u) { u.selectors[0].size = 3; }, false, {}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(IdentifyChip, RecoveryLeavesTheRecoveryValueOnTheCommandSelector) {
    sim::SimDeviceConfig config = sim::ScannerDevice();
    config.extensionUnits[0].selectors[1].readResult = kFail;
    auto device = sim::SimDeviceFilter::Create(config);
    test::RecordingPause pause;
    OpenedExtensionUnit opened = OpenExtensionUnit(device, pause.Function());
    ASSERT_EQ(opened.status, kOk);
    const ExtensionUnitHandle& handle = *opened.unit;
    EXPECT_FALSE(IdentifyChip(handle));
    std::int64_t command = 0;
    ASSERT_EQ(GetSelector(handle, contract::kIdentifyWriteSelector, &command), kOk);
    EXPECT_EQ(command, contract::kIdentifyRecoveryValue);
}

}  // namespace
}  // namespace zv
