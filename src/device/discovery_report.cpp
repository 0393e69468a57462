#include "device/discovery_report.h"

#include "device/find_scanner.h"

#include <QStringList>

#include <algorithm>

namespace zv {
namespace {

bool IsUnidentified(const DeviceVerdict& verdict) {
    return (verdict.failure == DeviceVerdict::Failure::kNoExtensionUnit ||
            verdict.failure == DeviceVerdict::Failure::kNotIdentified) &&
           HasScannerIdentifiers(verdict.devicePath);
}

QString FailureWords(const DeviceVerdict& verdict) {
    switch (verdict.failure) {
        case DeviceVerdict::Failure::kNotBound:
            return QStringLiteral("could not be opened (%1)").arg(StatusText(verdict.status));
        case DeviceVerdict::Failure::kNoExtensionUnit:
            return QStringLiteral("its vendor extension unit is missing or does not answer (%1)")
                .arg(StatusText(verdict.status));
        case DeviceVerdict::Failure::kNotIdentified:
            return QStringLiteral("its chip did not answer the identification exchange");
        case DeviceVerdict::Failure::kNoDevicePath:
            return QStringLiteral("its device path could not be read (%1)")
                .arg(StatusText(verdict.status));
        case DeviceVerdict::Failure::kNotTheScanner:
            return QStringLiteral("not the film scanner (other USB identifiers)");
        case DeviceVerdict::Failure::kNotTheMatch:
            return QStringLiteral("not the device that arrived");
    }
    return QString();
}

}  // namespace

bool SawUnidentifiedScanner(const DiscoveryReport& report) {
    return std::any_of(report.begin(), report.end(), IsUnidentified);
}

QString DescribeDiscovery(const DiscoveryReport& report) {
    QStringList lines;
    for (const DeviceVerdict& verdict : report) {
        const QString device =
            verdict.devicePath.isEmpty() ? QStringLiteral("a video device") : verdict.devicePath;
        lines << QStringLiteral("%1: %2").arg(device, FailureWords(verdict));
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace zv
