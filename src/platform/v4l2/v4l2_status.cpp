#include "platform/v4l2/v4l2_status.h"

#include "platform/devices/ks_property.h"

#include <cerrno>

namespace zv::v4l2 {

Status ExtensionUnitStatus(int error) {
    switch (error) {
        case 0:
            return kOk;
        case EBUSY:
        case EAGAIN:
            return kNotReady;
        case ENOENT:
            return kNotFound;
        case ENODEV:
            return devices::kDeviceNotConnected;
        default:
            return StatusFromErrno(error);
    }
}

Status StreamStatus(int error) {
    switch (error) {
        case 0:
            return kOk;
        case EBUSY:
            return kSharingViolation;
        case ENODEV:
            return devices::kDeviceNotConnected;
        case EPIPE:
            // A request the device stalled. 0x80070000 | EPIPE would be 0x80070020, the code of
            // a device held by another program, and tell the user so wrongly.
            return kFail;
        default:
            return StatusFromErrno(error);
    }
}

Status ControlStatus(int error, bool query) {
    switch (error) {
        case 0:
            return kOk;
        case EINVAL:
            return query ? kNotFound : kInvalidArg;
        case ERANGE:
            return kInvalidArg;
        case ENODEV:
            return devices::kDeviceNotConnected;
        case EPIPE:
            return kFail;  // a stalled request, not a busy device (see StreamStatus)
        default:
            return StatusFromErrno(error);
    }
}

}  // namespace zv::v4l2
