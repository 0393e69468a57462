#include "platform/scripted_usb_io.h"

#include <cerrno>

namespace zv::test {

namespace {

constexpr int kHandle = 7;
constexpr std::uint16_t kRollSelector = 0x0F00;

}  // namespace

int ScriptedUsbIo::Open(int busNumber, int deviceAddress) {
    m_log.push_back("open " + std::to_string(busNumber) + "/" + std::to_string(deviceAddress));
    if (busNumber != bus || deviceAddress != address) {
        return -ENOENT;
    }
    if (openErrno != 0) {
        return -openErrno;
    }
    ++m_openHandles;
    return kHandle;
}

void ScriptedUsbIo::Close(int handle) {
    if (handle == kHandle) {
        m_log.push_back("close");
        --m_openHandles;
        m_claimed = false;
    }
}

int ScriptedUsbIo::DetachKernelDriver(int /*handle*/, int interfaceNumber) {
    m_log.push_back("detach " + std::to_string(interfaceNumber));
    if (!m_driverBound) {
        return -ENOENT;
    }
    m_driverBound = false;
    if (onDetach) {
        onDetach();
    }
    return 0;
}

int ScriptedUsbIo::AttachKernelDriver(int /*handle*/, int interfaceNumber) {
    m_log.push_back("attach " + std::to_string(interfaceNumber));
    if (m_driverBound || m_claimed) {
        return -EBUSY;
    }
    m_driverBound = true;
    if (onAttach) {
        onAttach();
    }
    return 0;
}

int ScriptedUsbIo::ClaimInterface(int /*handle*/, int interfaceNumber) {
    m_log.push_back("claim " + std::to_string(interfaceNumber));
    if (m_driverBound) {
        return -EBUSY;
    }
    m_claimed = true;
    return 0;
}

int ScriptedUsbIo::ReleaseInterface(int /*handle*/, int interfaceNumber) {
    m_log.push_back("release " + std::to_string(interfaceNumber));
    m_claimed = false;
    return 0;
}

int ScriptedUsbIo::ControlTransfer(int /*handle*/, const v4l2::UsbSetup& setup,
                                   std::span<std::uint8_t> data, int /*timeoutMs*/) {
    if (!m_claimed) {
        return -EBUSY;
    }
    if (setup.value != kRollSelector || setup.index != (terminalId << 8) || data.size() != 2) {
        return -EPIPE;  // the device stalls what it does not know
    }
    return RollRequest(setup.request, data);
}

int ScriptedUsbIo::RollRequest(std::uint8_t request, std::span<std::uint8_t> data) {
    if (request == 0x01) {
        roll.value = static_cast<std::int16_t>(data[0] | data[1] << 8);
        m_log.push_back("SET_CUR " + std::to_string(roll.value));
        return 2;
    }
    const struct {
        std::uint8_t request;
        const char* name;
        std::int16_t value;
    } answers[] = {{0x81, "GET_CUR", roll.value},
                   {0x82, "GET_MIN", roll.minimum},
                   {0x83, "GET_MAX", roll.maximum},
                   {0x84, "GET_RES", roll.resolution},
                   {0x87, "GET_DEF", roll.defaultValue}};
    for (const auto& answer : answers) {
        if (answer.request == request) {
            const auto bits = static_cast<std::uint16_t>(answer.value);
            data[0] = static_cast<std::uint8_t>(bits & 0xFF);
            data[1] = static_cast<std::uint8_t>(bits >> 8);
            m_log.push_back(answer.name);
            return 2;
        }
    }
    return -EPIPE;
}

}  // namespace zv::test
