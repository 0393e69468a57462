#pragma once

#include "device/extension_unit_handle.h"
#include "device/probe_pause.h"
#include "platform/status.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

namespace zv::media {
class Filter;
}

// Access to the vendor extension unit of a device: opening it on a source filter (finding its
// node, reading its unit information, learning the access and size of each selector), reading
// and writing one selector as a signed integer of 1, 2, 4 or 8 bytes.
// GUI thread; opening blocks it for the probe pauses.
namespace zv {

// The pause after every size probe attempt, and how many attempts a selector that answers "not
// ready" gets.
inline constexpr std::chrono::milliseconds kSizeProbePause{100};
inline constexpr int kSizeProbeAttempts = 10;

// What opening a unit gave: its status, and the open unit when there is one to use.
struct [[nodiscard]] OpenedExtensionUnit {
    Status status = kFail;
    std::optional<ExtensionUnitHandle> unit;
};

// Opens the unit of `filter`. kOk with the unit; a failure status without one (kPointer for no
// filter, kFail when no node of the topology is the unit, or when the unit information is cut
// short of its control bitmap). A control bitmap size of 0 or above 4 answers the unit
// information's own (successful) status, but without a unit: it has no selectors to use.
OpenedExtensionUnit OpenExtensionUnit(const std::shared_ptr<media::Filter>& filter,
                                      const ProbePause& pause = SleepProbePause);

// Reads selector `selector` into `value`, widening 1-, 2- and 4-byte values with sign extension.
// kFail when the size is not 1, 2, 4 or 8, or the unit returns fewer bytes than the size; kNotFound
// when the selector cannot be read. Any answer of the unit other than kOk is returned as it came.
// `value` is written only on kOk.
Status GetSelector(const ExtensionUnitHandle& handle, std::uint32_t selector, std::int64_t* value);

// Writes the lowest `size` bytes of `value`, least significant first, to selector `selector` and
// returns the unit's answer. kFail when the size is not 1, 2, 4 or 8 (nothing is sent); kNotFound
// when the selector cannot be written.
Status SetSelector(const ExtensionUnitHandle& handle, std::uint32_t selector, std::int64_t value);

}  // namespace zv
