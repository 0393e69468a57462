#pragma once

#include <QString>

#include <cstdint>

namespace zv {

// Status codes travel between layers in the HRESULT form the system's callers rely on:
// 0 success, negative failure, with the same numbers everywhere. A call's status must be read:
// a caller that leaves it unread on purpose says so with IgnoreStatus and a comment why. The
// code converts to and from its number, so `status == kOk` and `switch (status)` read as before.
class [[nodiscard]] Status {
public:
    constexpr Status() = default;
    constexpr Status(std::int32_t code) : m_code(code) {}
    constexpr operator std::int32_t() const { return m_code; }

private:
    std::int32_t m_code = 0;
};

constexpr Status MakeStatus(std::uint32_t code) {
    return Status(static_cast<std::int32_t>(code));
}

// A status left unread on purpose; the call site's comment says why.
constexpr void IgnoreStatus(Status) {}

inline constexpr Status kOk = 0;
inline constexpr Status kFalse = 1;
inline constexpr Status kNotImplemented = MakeStatus(0x80004001);
inline constexpr Status kNoInterface = MakeStatus(0x80004002);
inline constexpr Status kPointer = MakeStatus(0x80004003);
inline constexpr Status kFail = MakeStatus(0x80004005);
inline constexpr Status kUnexpected = MakeStatus(0x8000FFFF);
inline constexpr Status kOutOfMemory = MakeStatus(0x8007000E);
inline constexpr Status kNotReady = MakeStatus(0x80070015);
inline constexpr Status kSharingViolation = MakeStatus(0x80070020);
inline constexpr Status kInvalidArg = MakeStatus(0x80070057);
inline constexpr Status kInsufficientBuffer = MakeStatus(0x8007007A);
inline constexpr Status kMoreData = MakeStatus(0x800700EA);
inline constexpr Status kNotFound = MakeStatus(0x80070490);
inline constexpr Status kNoSystemResources = MakeStatus(0x800705AA);
// A state change of the graph has not completed yet (a success code).
inline constexpr Status kStateIntermediate = MakeStatus(0x00040237);

constexpr bool Succeeded(Status status) {
    return status >= 0;
}
constexpr bool Failed(Status status) {
    return status < 0;
}

// A system error number in the status form: 0x80070000 | errno.
constexpr Status StatusFromErrno(int error) {
    return MakeStatus(0x80070000u | (static_cast<std::uint32_t>(error) & 0xFFFFu));
}

// "0x80070002 (No such file or directory)": for messages a user reads.
QString StatusText(Status status);

}  // namespace zv
