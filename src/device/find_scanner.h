#pragma once

#include "device/discovery_report.h"
#include "device/probe_pause.h"

#include <QString>

#include <memory>
#include <optional>

namespace zv::devices {
class DeviceBackend;
}
namespace zv::media {
class Filter;
}

namespace zv {

// Walks the video input devices of `devices` afresh, in the platform's order, and returns the
// first that is the scanner: its extension unit opens, its chip identifies itself, its
// "DevicePath" holds the scanner's identifiers (without regard to case) and, when `matchPath` is
// given, equals it (without regard to case, over its whole length). On true `filterOut` holds the
// scanner's source filter and `pathOut` (when given) its DevicePath; on false neither is touched.
// A device that cannot be opened, identified or read is skipped; a device whose filter cannot be
// bound ends the walk with false. Without `filterOut` nothing is enumerated.
// When `report` is given it receives every device passed over and why (its path is then read
// for the report even when an earlier test failed).
// GUI thread; blocks it for the probe pauses of every device it opens.
bool FindScanner(devices::DeviceBackend& devices, const std::optional<QString>& matchPath,
                 QString* pathOut, std::shared_ptr<media::Filter>* filterOut,
                 const ProbePause& pause = SleepProbePause, DiscoveryReport* report = nullptr);

// Whether a device path holds one of the scanner's identifiers, without regard to case.
bool HasScannerIdentifiers(const QString& devicePath);

}  // namespace zv
