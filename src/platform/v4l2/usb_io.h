#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zv::v4l2 {

// The setup stage of a USB control transfer.
struct UsbSetup {
    std::uint8_t requestType = 0;
    std::uint8_t request = 0;
    std::uint16_t value = 0;
    std::uint16_t index = 0;
};

// Requests the backend sends to a USB device itself, past its video driver: opening the device
// by bus and address, handing an interface from the kernel's driver to us and back, and control
// transfers. The system implementation (SystemUsbIo) uses libusb; tests drive the same logic
// with a scripted device, as V4l2Io does for the driver. Failures are negative errno values:
// -EACCES no permission on the device node, -ENODEV or -ENOENT the device is gone, -EBUSY the
// interface is held (by the kernel's driver or another program), -EPIPE a stalled request,
// -ETIMEDOUT, -EIO anything else. GUI thread.
class UsbIo {
public:
    virtual ~UsbIo() = default;

    // A handle on the device at `bus` / `address`, or -errno.
    virtual int Open(int bus, int address) = 0;
    virtual void Close(int handle) = 0;
    // 0 or -errno; detaching an interface without a driver answers -ENOENT.
    virtual int DetachKernelDriver(int handle, int interfaceNumber) = 0;
    virtual int AttachKernelDriver(int handle, int interfaceNumber) = 0;
    virtual int ClaimInterface(int handle, int interfaceNumber) = 0;
    virtual int ReleaseInterface(int handle, int interfaceNumber) = 0;
    // The bytes of the data stage transferred, or -errno.
    virtual int ControlTransfer(int handle, const UsbSetup& setup, std::span<std::uint8_t> data,
                                int timeoutMs) = 0;
};

// The USB device node of a device: "/dev/bus/usb/001/004".
std::string UsbDeviceNode(int bus, int address);

}  // namespace zv::v4l2
