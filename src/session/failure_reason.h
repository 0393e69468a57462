#pragma once

#include "platform/status.h"

#include <QSize>
#include <QString>

#include <chrono>

namespace zv {

// Why a Scan ended without a file, beyond the writer's own results. The numbers are the
// system's error codes of the same meaning, so that they travel and print like any other status.
// No picture came from the scanner within the time-out (ERROR_TIMEOUT).
inline constexpr Status kScanTimedOut = MakeStatus(0x800705B4);
// The scanner was unplugged while the picture was awaited (ERROR_DEVICE_NOT_CONNECTED).
inline constexpr Status kScannerUnplugged = MakeStatus(0x8007048F);
// The scanner offers no still picture format, so there is no picture to take
// (ERROR_UNSUPPORTED_TYPE).
inline constexpr Status kNoStillFormat = MakeStatus(0x8007065E);
// The save folder is empty: there is nowhere to save (ERROR_BAD_PATHNAME).
inline constexpr Status kNoSaveFolder = MakeStatus(0x800700A1);

// Why a save failed, in words a user reads ("the disk is full"); for the status line's tooltip
// and `zevuvora scan`. Every status has words: codes without words of their own give the
// system's description of the error. Any thread.
QString FailureReason(Status result);

// "no picture from the scanner within 2 seconds" (or "within 300 ms").
QString NoPictureReason(std::chrono::milliseconds waited);

// What the user is told when another program holds the scanner (the window's box, `scan`'s
// stderr).
inline constexpr char kDeviceLockedMessage[] = "Device is locked by another application";

// Tells that a saved 135 image was scaled up from a preview-sized still of size `from`.
QString EnlargedNote(QSize from);

}  // namespace zv
