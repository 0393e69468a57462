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
        default:
            return StatusFromErrno(error);
    }
}

}  // namespace zv::v4l2
