#pragma once

#include "device/extension_unit_handle.h"
#include "device/probe_pause.h"
#include "platform/status.h"

#include <chrono>
#include <cstdint>
#include <memory>

namespace zv::media {
class Filter;
}

// Access to the vendor extension unit of a device: opening it on a source filter (finding its
// node, reading its unit information, learning the access and size of each selector), reading
// and writing one selector as a signed integer of 1, 2, 4 or 8 bytes, and closing it.
// GUI thread; opening blocks it for the probe pauses.
namespace zv {

// The pause after every size probe attempt, and how many attempts a selector that answers "not
// ready" gets.
inline constexpr std::chrono::milliseconds kSizeProbePause{100};
inline constexpr int kSizeProbeAttempts = 10;

// Clears `handle` and opens it on `filter`. kOk with the handle open; a failure status with the
// handle not open (kFail when no node of the topology is the unit, or when the unit information
// is cut short of its control bitmap). A control bitmap size of 0 or above 4 leaves the handle
// not open but answers the unit information's own (successful) status.
Status OpenExtensionUnit(ExtensionUnitHandle* handle, const std::shared_ptr<media::Filter>& filter,
                         const ProbePause& pause = SleepProbePause);

// Reads selector `selector` into `value`, widening 1-, 2- and 4-byte values with sign extension.
// kFail when the handle is not open, the size is not 1, 2, 4 or 8, or the unit returns fewer
// bytes than the size; kNotFound when the selector cannot be read. Any answer of the unit other
// than kOk is returned as it came. `value` is written only on kOk.
Status GetSelector(const ExtensionUnitHandle& handle, std::uint32_t selector, std::int64_t* value);

// Writes the lowest `size` bytes of `value`, least significant first, to selector `selector` and
// returns the unit's answer. kFail when the handle is not open or the size is not 1, 2, 4 or 8
// (nothing is sent); kNotFound when the selector cannot be written.
Status SetSelector(const ExtensionUnitHandle& handle, std::uint32_t selector, std::int64_t value);

// Releases the control interface; the handle is not open afterwards. Safe on any handle.
void CloseExtensionUnit(ExtensionUnitHandle* handle);

}  // namespace zv
