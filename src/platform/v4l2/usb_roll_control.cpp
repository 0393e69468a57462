#include "platform/v4l2/usb_roll_control.h"

#include "platform/devices/ks_property.h"
#include "platform/devices/property_control.h"
#include "platform/v4l2/usb_io.h"
#include "platform/v4l2/v4l2_io.h"
#include "platform/v4l2/v4l2_node_holder.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <span>

namespace zv::v4l2 {

namespace {

// UVC class requests and the camera terminal's absolute roll control.
constexpr std::uint8_t kSetCur = 0x01;
constexpr std::uint8_t kGetCur = 0x81;
constexpr std::uint8_t kGetMin = 0x82;
constexpr std::uint8_t kGetMax = 0x83;
constexpr std::uint8_t kGetRes = 0x84;
constexpr std::uint8_t kGetDef = 0x87;
constexpr std::uint8_t kClassInterfaceOut = 0x21;
constexpr std::uint8_t kClassInterfaceIn = 0xA1;
constexpr std::uint8_t kRollAbsoluteSelector = 0x0F;
// bmControls bit of absolute roll in a camera terminal descriptor.
constexpr int kRollAbsoluteBit = 13;

bool ReadNumber(V4l2Io& io, const std::string& path, int* number) {
    std::vector<std::uint8_t> bytes;
    if (io.ReadFile(path, &bytes) != 0 || bytes.empty()) {
        return false;
    }
    const char* begin = reinterpret_cast<const char*>(bytes.data());
    const auto result = std::from_chars(begin, begin + bytes.size(), *number);
    return result.ec == std::errc{} && *number > 0;
}

bool DeclaresRoll(const UvcEntity& entity) {
    const std::size_t byte = kRollAbsoluteBit / 8;
    return entity.kind == UvcEntityKind::kCameraTerminal && entity.controls.size() > byte &&
           (entity.controls[byte] & (1u << (kRollAbsoluteBit % 8))) != 0;
}

Status UsbStatus(int error) {
    switch (error) {
        case 0:
            return kOk;
        case ENOENT:
        case ENODEV:
            return devices::kDeviceNotConnected;
        case EBUSY:
            return kSharingViolation;
        case EPIPE:
            return kFail;  // a stalled request
        case EPERM:
            return StatusFromErrno(EACCES);
        default:
            return StatusFromErrno(error);
    }
}

}  // namespace

UsbRollControl::UsbRollControl(UsbIo* usb, V4l2NodeHolder& holder,
                               std::optional<UvcRollTarget> target, int requestTimeoutMs)
    : m_usb(usb), m_holder(holder), m_target(target), m_requestTimeoutMs(requestTimeoutMs) {}

std::optional<UvcRollTarget> UsbRollControl::FindTarget(V4l2Io& io, const V4l2NodeInfo& node,
                                                        const std::vector<UvcEntity>& entities) {
    if (!node.usb || node.usbDeviceSyspath.empty() || node.interfaceNumber < 0) {
        return std::nullopt;
    }
    for (const UvcEntity& entity : entities) {
        if (!DeclaresRoll(entity)) {
            continue;
        }
        UvcRollTarget target;
        target.interfaceNumber = node.interfaceNumber;
        target.terminalId = entity.id;
        if (!ReadNumber(io, node.usbDeviceSyspath + "/busnum", &target.bus) ||
            !ReadNumber(io, node.usbDeviceSyspath + "/devnum", &target.address)) {
            return std::nullopt;
        }
        return target;
    }
    return std::nullopt;
}

Status UsbRollControl::GetRange(std::int32_t* minimum, std::int32_t* maximum,
                                std::int32_t* steppingDelta, std::int32_t* defaultValue,
                                std::int32_t* capsFlags) {
    if (minimum == nullptr || maximum == nullptr || steppingDelta == nullptr ||
        defaultValue == nullptr || capsFlags == nullptr) {
        return kPointer;
    }
    if (!m_loaded) {
        if (const Status status = Exchange(std::nullopt); Failed(status)) {
            return status;
        }
    }
    *minimum = m_minimum;
    *maximum = m_maximum;
    *steppingDelta = m_resolution;
    *defaultValue = m_default;
    *capsFlags = devices::kPropertyFlagsManual;
    return kOk;
}

Status UsbRollControl::Get(std::int32_t* value, std::int32_t* flags) {
    if (value == nullptr || flags == nullptr) {
        return kPointer;
    }
    if (!m_loaded) {
        return m_failure;
    }
    *value = m_value;
    *flags = devices::kPropertyFlagsManual;
    return kOk;
}

Status UsbRollControl::SetAndRead(std::int32_t value, std::int32_t flags, std::int32_t* held) {
    if (held == nullptr) {
        return kPointer;
    }
    if ((flags & ~devices::kPropertyFlagsManual) != 0) {
        return kInvalidArg;  // roll has no automatic mode
    }
    const bool outside =
        m_loaded ? value < m_minimum || value > m_maximum : value < INT16_MIN || value > INT16_MAX;
    if (outside) {
        return kInvalidArg;
    }
    if (const Status status = Exchange(static_cast<std::int16_t>(value)); Failed(status)) {
        return status;
    }
    *held = m_value;
    return m_value == value ? kOk : kFail;
}

Status UsbRollControl::Refused(int error) {
    const Status status = UsbStatus(error);
    m_failure = status;
    const QString node = QString::fromStdString(UsbDeviceNode(m_target->bus, m_target->address));
    if (status == StatusFromErrno(EACCES)) {
        m_reason = QStringLiteral(
                       "no write access to %1, the scanner's USB device node. Install the udev "
                       "rule %2 in /etc/udev/rules.d (or /usr/lib/udev/rules.d), run "
                       "\"udevadm control --reload\" and plug the scanner in again.")
                       .arg(node, QLatin1String(kUdevRuleName));
    } else if (status == kSharingViolation) {
        m_reason = QStringLiteral("another program is using the scanner.");
    } else {
        m_reason = QStringLiteral("the scanner could not be reached through %1 (%2).")
                       .arg(node, StatusText(status));
    }
    return status;
}

Status UsbRollControl::Exchange(std::optional<std::int16_t> value) {
    if (!Offered()) {
        return kNotFound;
    }
    // Opened first: without permission nothing else is touched.
    const int handle = m_usb->Open(m_target->bus, m_target->address);
    if (handle < 0) {
        return Refused(-handle);
    }
    if (const Status released = m_holder.ReleaseNode(); Failed(released)) {
        m_usb->Close(handle);
        return Refused(released == kSharingViolation ? EBUSY : EIO);
    }
    const Status talked = Talk(handle, value);
    m_usb->Close(handle);
    const Status reclaimed = m_holder.ReclaimNode();
    if (Failed(talked)) {
        return Failed(reclaimed) ? reclaimed : talked;
    }
    if (Failed(reclaimed)) {
        m_failure = reclaimed;
        return reclaimed;
    }
    m_failure = kOk;
    m_reason.clear();
    return kOk;
}

Status UsbRollControl::Talk(int handle, std::optional<std::int16_t> value) {
    const int interfaceNumber = m_target->interfaceNumber;
    const int detached = m_usb->DetachKernelDriver(handle, interfaceNumber);
    if (detached != 0 && detached != -ENOENT) {
        return Refused(-detached);
    }
    Status status = kOk;
    if (const int claimed = m_usb->ClaimInterface(handle, interfaceNumber); claimed != 0) {
        status = Refused(-claimed);
    } else {
        if (!m_loaded) {
            status = ReadRange(handle);
        }
        if (Succeeded(status) && value.has_value()) {
            status = WriteValue(handle, *value);
        }
        m_usb->ReleaseInterface(handle, interfaceNumber);
    }
    // Handed back even after a failed request: the driver makes the capture node anew.
    if (detached == 0) {
        if (const int attached = m_usb->AttachKernelDriver(handle, interfaceNumber);
            attached != 0 && Succeeded(status)) {
            status = Refused(-attached);
        }
    }
    return status;
}

Status UsbRollControl::ReadRange(int handle) {
    std::int16_t minimum = 0;
    std::int16_t maximum = 0;
    std::int16_t resolution = 0;
    std::int16_t defaultValue = 0;
    std::int16_t current = 0;
    for (const auto& [request, field] :
         {std::pair{kGetMin, &minimum}, std::pair{kGetMax, &maximum},
          std::pair{kGetRes, &resolution}, std::pair{kGetDef, &defaultValue},
          std::pair{kGetCur, &current}}) {
        if (const Status status = Request(handle, request, field); Failed(status)) {
            return status;
        }
    }
    m_minimum = minimum;
    m_maximum = maximum;
    m_resolution = resolution;
    m_default = defaultValue;
    m_value = current;
    m_loaded = true;
    return kOk;
}

Status UsbRollControl::WriteValue(int handle, std::int16_t value) {
    std::int16_t sent = value;
    if (const Status status = Request(handle, kSetCur, &sent); Failed(status)) {
        return status;
    }
    std::int16_t confirmed = 0;
    if (const Status status = Request(handle, kGetCur, &confirmed); Failed(status)) {
        return status;
    }
    m_value = confirmed;
    return kOk;
}

Status UsbRollControl::Request(int handle, std::uint8_t request, std::int16_t* value) {
    const bool set = request == kSetCur;
    std::array<std::uint8_t, 2> data{};
    if (set) {
        const auto bits = static_cast<std::uint16_t>(*value);
        data = {static_cast<std::uint8_t>(bits & 0xFF), static_cast<std::uint8_t>(bits >> 8)};
    }
    UsbSetup setup;
    setup.requestType = set ? kClassInterfaceOut : kClassInterfaceIn;
    setup.request = request;
    setup.value = static_cast<std::uint16_t>(kRollAbsoluteSelector << 8);
    setup.index = static_cast<std::uint16_t>(m_target->terminalId << 8 | m_target->interfaceNumber);
    const int transferred = m_usb->ControlTransfer(handle, setup, data, m_requestTimeoutMs);
    if (transferred < 0) {
        return Refused(-transferred);
    }
    if (transferred != static_cast<int>(data.size())) {
        return Refused(EIO);
    }
    if (!set) {
        *value = static_cast<std::int16_t>(data[0] | data[1] << 8);
    }
    return kOk;
}

}  // namespace zv::v4l2
