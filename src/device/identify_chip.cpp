#include "device/identify_chip.h"

#include "device/extension_unit.h"
#include "platform/devices/scanner_contract.h"

#include <array>

namespace zv {

namespace {

// The command's bytes, least significant first.
std::int64_t IdentifyCommandValue() {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < contract::kIdentifyCommand.size(); ++i) {
        value |= static_cast<std::uint64_t>(contract::kIdentifyCommand[i]) << (8 * i);
    }
    return static_cast<std::int64_t>(value);
}

bool IsExpectedReply(std::int64_t reply) {
    const auto raw = static_cast<std::uint64_t>(reply);
    for (std::size_t i = 0; i < contract::kIdentifyReply.size(); ++i) {
        if (static_cast<std::uint8_t>(raw >> (8 * i)) != contract::kIdentifyReply[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool IdentifyChip(const ExtensionUnitHandle& handle) {
    if (Succeeded(SetSelector(handle, contract::kIdentifyWriteSelector, IdentifyCommandValue()))) {
        std::int64_t reply = 0;
        if (Succeeded(GetSelector(handle, contract::kIdentifyReadSelector, &reply))) {
            return IsExpectedReply(reply);
        }
    }
    // Leave the chip's command selector as the recovery value: the answers do not matter.
    std::int64_t discarded = 0;
    IgnoreStatus(GetSelector(handle, contract::kIdentifyWriteSelector, &discarded));
    IgnoreStatus(
        SetSelector(handle, contract::kIdentifyWriteSelector, contract::kIdentifyRecoveryValue));
    return false;
}

}  // namespace zv
