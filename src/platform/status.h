#pragma once

#include <QString>

#include <cstdint>

namespace zv {

// Status codes travel between layers in the HRESULT form the system's callers rely on:
// 0 success, negative failure, with the same numbers everywhere.
using Status = std::int32_t;

constexpr Status MakeStatus(std::uint32_t code) { return static_cast<Status>(code); }

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

constexpr bool Succeeded(Status status) { return status >= 0; }
constexpr bool Failed(Status status) { return status < 0; }

// A system error number in the status form: 0x80070000 | errno.
constexpr Status StatusFromErrno(int error) {
    return MakeStatus(0x80070000u | (static_cast<std::uint32_t>(error) & 0xFFFFu));
}

// "0x80070002 (No such file or directory)": for messages a user reads.
QString StatusText(Status status);

}  // namespace zv
