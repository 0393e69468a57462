#pragma once

#include "platform/status.h"
#include "platform/v4l2/uvc_descriptors.h"
#include "platform/v4l2/v4l2_node_info.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace zv::v4l2 {

class UsbIo;
class V4l2Io;
class V4l2NodeHolder;

// Where the camera terminal's roll control is reached on the USB device.
struct UvcRollTarget {
    int bus = 0;
    int address = 0;
    // The VideoControl interface, which the video driver holds.
    int interfaceNumber = 0;
    std::uint8_t terminalId = 0;
};

// The udev rule that gives the user at the seat access to the scanner's nodes.
inline constexpr char kUdevRuleName[] = "70-zevuvora-scanner.rules";

// The camera terminal's roll (the film type) written through the USB device, for kernels whose
// video driver offers no control for it: the driver is released from the VideoControl interface,
// the interface claimed, the class requests sent, the interface released and handed back to the
// driver, which makes the capture node anew. Every exchange does all of that, with the node
// let go before and taken up again after by its holder (the source filter). The range, default
// and value are read by the first exchange of a connection (GetRange) and kept; a write sends
// SET_CUR and confirms it with GET_CUR. Before anything is let go the device node is opened, so
// that a missing permission (no udev rule) changes nothing; while another program streams the
// holder refuses, and nothing is let go either.
// Values are the control's: degrees, signed 16-bit. GUI thread.
class UsbRollControl {
public:
    // `usb` null: no way to the USB device, so no roll either.
    UsbRollControl(UsbIo* usb, V4l2NodeHolder& holder, std::optional<UvcRollTarget> target,
                   int requestTimeoutMs);

    // The roll control of a USB node whose camera terminal declares absolute roll; nullopt
    // otherwise (or when the device's bus and address cannot be read).
    static std::optional<UvcRollTarget> FindTarget(V4l2Io& io, const V4l2NodeInfo& node,
                                                   const std::vector<UvcEntity>& entities);

    bool Offered() const { return m_usb != nullptr && m_target.has_value(); }
    Status GetRange(std::int32_t* minimum, std::int32_t* maximum, std::int32_t* steppingDelta,
                    std::int32_t* defaultValue, std::int32_t* capsFlags);
    // The value last read or written; no exchange of its own.
    Status Get(std::int32_t* value, std::int32_t* flags);
    Status SetAndRead(std::int32_t value, std::int32_t flags, std::int32_t* held);
    // Why the last exchange failed, for the user (empty after a success).
    const QString& UnavailableReason() const { return m_reason; }

private:
    // One exchange: reads the range when it is not known yet, then writes `value` if given.
    Status Exchange(std::optional<std::int16_t> value);
    // Detach, claim, requests, release, attach on an open device.
    Status Talk(int handle, std::optional<std::int16_t> value);
    Status ReadRange(int handle);
    Status WriteValue(int handle, std::int16_t value);
    Status Request(int handle, std::uint8_t request, std::int16_t* value);
    Status Refused(int error);

    UsbIo* const m_usb;
    V4l2NodeHolder& m_holder;
    const std::optional<UvcRollTarget> m_target;
    const int m_requestTimeoutMs;
    bool m_loaded = false;
    std::int16_t m_minimum = 0;
    std::int16_t m_maximum = 0;
    std::int16_t m_resolution = 0;
    std::int16_t m_default = 0;
    std::int16_t m_value = 0;
    // The failure of the last exchange (kNotFound before the first).
    Status m_failure = kNotFound;
    QString m_reason;
};

}  // namespace zv::v4l2
