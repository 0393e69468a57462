#include "platform/v4l2/system_usb_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <libusb.h>
#include <limits>
#include <unistd.h>

namespace zv::v4l2 {

namespace {

int Errno(int libusbError) {
    switch (libusbError) {
        case LIBUSB_SUCCESS:
            return 0;
        case LIBUSB_ERROR_ACCESS:
            return -EACCES;
        case LIBUSB_ERROR_NO_DEVICE:
            return -ENODEV;
        case LIBUSB_ERROR_NOT_FOUND:
            return -ENOENT;
        case LIBUSB_ERROR_BUSY:
            return -EBUSY;
        case LIBUSB_ERROR_PIPE:
            return -EPIPE;
        case LIBUSB_ERROR_TIMEOUT:
            return -ETIMEDOUT;
        case LIBUSB_ERROR_INVALID_PARAM:
            return -EINVAL;
        case LIBUSB_ERROR_NO_MEM:
            return -ENOMEM;
        case LIBUSB_ERROR_NOT_SUPPORTED:
            return -ENOTSUP;
        case LIBUSB_ERROR_INTERRUPTED:
            return -EINTR;
        case LIBUSB_ERROR_OVERFLOW:
            return -EOVERFLOW;
        default:
            return -EIO;
    }
}

}  // namespace

std::string UsbDeviceNode(int bus, int address) {
    char node[32];
    std::snprintf(node, sizeof node, "/dev/bus/usb/%03d/%03d", bus, address);
    return node;
}

SystemUsbIo::SystemUsbIo() = default;

SystemUsbIo::~SystemUsbIo() {
    while (!m_handles.empty()) {
        Close(m_handles.begin()->first);
    }
    if (m_context != nullptr) {
        libusb_exit(m_context);
    }
}

libusb_device_handle* SystemUsbIo::Handle(int handle) const {
    const auto found = m_handles.find(handle);
    return found != m_handles.end() ? found->second : nullptr;
}

int SystemUsbIo::Open(int bus, int address) {
    if (m_context == nullptr) {
        // The device is named by its node: libusb need not scan the bus (nor watch it).
        libusb_set_option(nullptr, LIBUSB_OPTION_NO_DEVICE_DISCOVERY);
        if (const int error = libusb_init(&m_context); error != LIBUSB_SUCCESS) {
            m_context = nullptr;
            return Errno(error);
        }
    }
    const int fd = ::open(UsbDeviceNode(bus, address).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return -errno;
    }
    libusb_device_handle* device = nullptr;
    if (const int error = libusb_wrap_sys_device(m_context, fd, &device); error != LIBUSB_SUCCESS) {
        ::close(fd);
        return Errno(error);
    }
    m_handles[fd] = device;
    return fd;
}

void SystemUsbIo::Close(int handle) {
    const auto found = m_handles.find(handle);
    if (found == m_handles.end()) {
        return;
    }
    // libusb lets go of a wrapped device but leaves its descriptor to us.
    libusb_close(found->second);
    ::close(handle);
    m_handles.erase(found);
}

int SystemUsbIo::DetachKernelDriver(int handle, int interfaceNumber) {
    libusb_device_handle* device = Handle(handle);
    return device != nullptr ? Errno(libusb_detach_kernel_driver(device, interfaceNumber)) : -EBADF;
}

int SystemUsbIo::AttachKernelDriver(int handle, int interfaceNumber) {
    libusb_device_handle* device = Handle(handle);
    return device != nullptr ? Errno(libusb_attach_kernel_driver(device, interfaceNumber)) : -EBADF;
}

int SystemUsbIo::ClaimInterface(int handle, int interfaceNumber) {
    libusb_device_handle* device = Handle(handle);
    return device != nullptr ? Errno(libusb_claim_interface(device, interfaceNumber)) : -EBADF;
}

int SystemUsbIo::ReleaseInterface(int handle, int interfaceNumber) {
    libusb_device_handle* device = Handle(handle);
    return device != nullptr ? Errno(libusb_release_interface(device, interfaceNumber)) : -EBADF;
}

int SystemUsbIo::ControlTransfer(int handle, const UsbSetup& setup, std::span<std::uint8_t> data,
                                 int timeoutMs) {
    libusb_device_handle* device = Handle(handle);
    if (device == nullptr) {
        return -EBADF;
    }
    if (data.size() > std::numeric_limits<std::uint16_t>::max()) {
        return -EINVAL;
    }
    const int result = libusb_control_transfer(
        device, setup.requestType, setup.request, setup.value, setup.index, data.data(),
        static_cast<std::uint16_t>(data.size()), static_cast<unsigned>(std::max(timeoutMs, 0)));
    return result >= 0 ? result : Errno(result);
}

}  // namespace zv::v4l2
