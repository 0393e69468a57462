#pragma once

#include "platform/v4l2/usb_io.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zv::test {

// The USB side of a scripted scanner: one device at a bus and address whose VideoControl
// interface (0) the video driver holds until it is detached, with a camera terminal whose
// absolute roll control answers GET_MIN/MAX/RES/DEF/CUR and takes SET_CUR. A request needs the
// interface claimed (-EBUSY while the driver holds it). Detaching and attaching the driver call
// the hooks, so that a test makes the capture node go and come back, or not. Every call is
// noted. The test's thread only.
class ScriptedUsbIo : public v4l2::UsbIo {
public:
    struct Roll {
        std::int16_t minimum = -180;
        std::int16_t maximum = 180;
        std::int16_t resolution = 1;
        std::int16_t defaultValue = 0;
        std::int16_t value = 0;
    };

    int bus = 1;
    int address = 4;
    std::uint8_t terminalId = 1;
    // Opening fails with this errno (EACCES: no permission on the device node).
    int openErrno = 0;
    Roll roll;
    std::function<void()> onDetach;
    std::function<void()> onAttach;

    // "open 1/4", "detach 0", "claim 0", "GET_MIN", "SET_CUR 1", "release 0", "attach 0",
    // "close".
    const std::vector<std::string>& Log() const { return m_log; }
    void ClearLog() { m_log.clear(); }
    int OpenHandles() const { return m_openHandles; }
    bool DriverBound() const { return m_driverBound; }

    int Open(int busNumber, int deviceAddress) override;
    void Close(int handle) override;
    int DetachKernelDriver(int handle, int interfaceNumber) override;
    int AttachKernelDriver(int handle, int interfaceNumber) override;
    int ClaimInterface(int handle, int interfaceNumber) override;
    int ReleaseInterface(int handle, int interfaceNumber) override;
    int ControlTransfer(int handle, const v4l2::UsbSetup& setup, std::span<std::uint8_t> data,
                        int timeoutMs) override;

private:
    int RollRequest(std::uint8_t request, std::span<std::uint8_t> data);

    std::vector<std::string> m_log;
    int m_openHandles = 0;
    bool m_driverBound = true;
    bool m_claimed = false;
};

}  // namespace zv::test
