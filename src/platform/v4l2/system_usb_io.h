#pragma once

#include "platform/v4l2/usb_io.h"

#include <map>

struct libusb_context;
struct libusb_device_handle;

namespace zv::v4l2 {

// USB devices through libusb, opened by their device node (so that the node's permissions decide
// and a refusal names it) and handed to libusb without a device scan. The libusb context is made
// on the first Open and lives as long as this object. GUI thread.
class SystemUsbIo : public UsbIo {
public:
    SystemUsbIo();
    ~SystemUsbIo() override;
    SystemUsbIo(const SystemUsbIo&) = delete;
    SystemUsbIo& operator=(const SystemUsbIo&) = delete;

    int Open(int bus, int address) override;
    void Close(int handle) override;
    int DetachKernelDriver(int handle, int interfaceNumber) override;
    int AttachKernelDriver(int handle, int interfaceNumber) override;
    int ClaimInterface(int handle, int interfaceNumber) override;
    int ReleaseInterface(int handle, int interfaceNumber) override;
    int ControlTransfer(int handle, const UsbSetup& setup, std::span<std::uint8_t> data,
                        int timeoutMs) override;

private:
    libusb_device_handle* Handle(int handle) const;

    libusb_context* m_context = nullptr;
    // Open devices by handle, which is the device node's descriptor.
    std::map<int, libusb_device_handle*> m_handles;
};

}  // namespace zv::v4l2
