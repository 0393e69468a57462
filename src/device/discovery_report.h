#pragma once

#include "platform/status.h"

#include <QString>

#include <vector>

namespace zv {

// What discovery saw of one video input device that did not turn out to be the scanner, and at
// which test it stopped.
struct DeviceVerdict {
    enum class Failure {
        kNotBound,         // its filter could not be bound (the walk ended there)
        kNoExtensionUnit,  // the vendor extension unit is missing or did not answer
        kNotIdentified,    // the chip did not answer the identification exchange
        kNoDevicePath,     // its "DevicePath" could not be read
        kNotTheScanner,    // its path lacks the scanner's USB identifiers
        kNotTheMatch,      // another device than the one asked for
    };
    QString devicePath;  // empty when it could not be read
    Failure failure = Failure::kNotBound;
    Status status = kOk;  // the failing call's status, where there was one
};

// Every device a discovery walk passed over, in the platform's order.
using DiscoveryReport = std::vector<DeviceVerdict>;

// Whether the walk passed over a device with the scanner's USB identifiers because it did not
// identify itself: a scanner whose chip is still starting up, or whose extension unit stalls.
bool SawUnidentifiedScanner(const DiscoveryReport& report);

// One line per device passed over: its path and what failed, in words.
QString DescribeDiscovery(const DiscoveryReport& report);

}  // namespace zv
