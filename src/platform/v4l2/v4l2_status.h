#pragma once

#include "platform/status.h"

// How the errno of a failed device call becomes the status code its caller relies on. Plain
// functions, any thread.
namespace zv::v4l2 {

// Extension unit requests: a unit that is busy or not ready yet answers kNotReady (callers retry
// it), a unit or selector the driver does not know kNotFound, an unplugged device
// devices::kDeviceNotConnected, anything else 0x80070000 | errno.
Status ExtensionUnitStatus(int error);

// Setting up and starting a stream: a device another program holds answers kSharingViolation,
// an unplugged device devices::kDeviceNotConnected, a request the device stalled (EPIPE) kFail,
// anything else 0x80070000 | errno (so USB bandwidth exhaustion, ENOSPC, is 0x8007001C). Only
// a busy device ends as one of the codes of a device held by another program.
Status StreamStatus(int error);

// Picture property (control) requests: a control the driver does not have answers kNotFound, a
// value it refuses kInvalidArg, an unplugged device devices::kDeviceNotConnected, a stalled
// request kFail, anything else 0x80070000 | errno. `query` says whether the call asked about the
// control (EINVAL then means the control does not exist) or set its value (EINVAL then means the
// value was refused).
Status ControlStatus(int error, bool query);

}  // namespace zv::v4l2
