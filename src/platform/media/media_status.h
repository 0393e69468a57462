#pragma once

#include "platform/status.h"

// Status codes of the capture graph, with the numbers the platform's graph uses.
namespace zv::media {

inline constexpr Status kInvalidMediaType = MakeStatus(0x80040200);
inline constexpr Status kAlreadyConnected = MakeStatus(0x80040204);
inline constexpr Status kInvalidDirection = MakeStatus(0x80040208);
inline constexpr Status kNotConnected = MakeStatus(0x80040209);
inline constexpr Status kFilterNotFound = MakeStatus(0x80040216);
inline constexpr Status kCannotConnect = MakeStatus(0x80040217);
inline constexpr Status kCannotRender = MakeStatus(0x80040218);
inline constexpr Status kNotStopped = MakeStatus(0x80040224);
inline constexpr Status kNotRunning = MakeStatus(0x80040226);
inline constexpr Status kTypeNotAccepted = MakeStatus(0x8004022A);
inline constexpr Status kDuplicateName = MakeStatus(0x8004022E);
inline constexpr Status kNotInGraph = MakeStatus(0x8004025F);
// Success: the filter was added under a name made unique by a number.
inline constexpr Status kRenamedDuplicate = MakeStatus(0x0004022D);
// The pin has no category property (pin category query).
inline constexpr Status kPropertyNotSupported = kNotFound;  // 0x80070490

}  // namespace zv::media
