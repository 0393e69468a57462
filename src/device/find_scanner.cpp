#include "device/find_scanner.h"

#include "device/extension_unit.h"
#include "device/identify_chip.h"
#include "platform/devices/device_backend.h"
#include "platform/devices/scanner_contract.h"

#include <array>
#include <string_view>

namespace zv {

namespace {

// The identifiers a scanner's device path may hold; the first found decides.
constexpr std::array<std::string_view, 1> kIdentifierList{contract::kVidPid};

using Failure = DeviceVerdict::Failure;

// Opens the device's extension unit for the identification only; it is closed again before the
// caller goes on. kOk for the scanner's chip, kFalse for a chip that did not identify itself, the
// open's failure for a unit that could not be opened.
Status IdentifyDevice(const std::shared_ptr<media::Filter>& filter, const ProbePause& pause) {
    const OpenedExtensionUnit opened = OpenExtensionUnit(filter, pause);
    if (Failed(opened.status)) {
        return opened.status;
    }
    // A unit without usable selectors cannot answer the identification.
    return opened.unit && IdentifyChip(*opened.unit) ? kOk : kFalse;
}

// Notes a device passed over, with its path when it can be read.
void Note(DiscoveryReport* report, devices::DeviceEntry& entry, Failure failure, Status status,
          QString devicePath = QString()) {
    if (report == nullptr) {
        return;
    }
    QString read;
    if (devicePath.isEmpty() && failure != Failure::kNoDevicePath &&
        entry.ReadProperty(QString::fromLatin1(devices::kDevicePathProperty), &read) == kOk) {
        devicePath = read;
    }
    report->push_back(DeviceVerdict{devicePath, failure, status});
}

}  // namespace

bool HasScannerIdentifiers(const QString& devicePath) {
    for (const std::string_view identifier : kIdentifierList) {
        const QLatin1StringView text(identifier.data(), static_cast<qsizetype>(identifier.size()));
        if (devicePath.contains(text, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

bool FindScanner(devices::DeviceBackend& devices, const std::optional<QString>& matchPath,
                 QString* pathOut, std::shared_ptr<media::Filter>* filterOut,
                 const ProbePause& pause, DiscoveryReport* report) {
    if (filterOut == nullptr) {
        return false;
    }
    std::unique_ptr<devices::DeviceEnumerator> enumerator;
    if (Failed(devices.CreateClassEnumerator(devices::kVideoInputDeviceCategory, &enumerator)) ||
        enumerator == nullptr) {
        return false;
    }
    for (;;) {
        std::unique_ptr<devices::DeviceEntry> entry;
        if (enumerator->Next(&entry) != kOk || entry == nullptr) {
            return false;
        }
        std::shared_ptr<media::Filter> filter;
        const Status bound = entry->BindFilter(&filter);
        if (Failed(bound) || filter == nullptr) {
            // A device that cannot be bound ends the walk, whatever follows it.
            Note(report, *entry, Failure::kNotBound, bound);
            return false;
        }
        if (const Status identity = IdentifyDevice(filter, pause); identity != kOk) {
            Note(report, *entry,
                 identity == kFalse ? Failure::kNotIdentified : Failure::kNoExtensionUnit,
                 identity);
            continue;
        }
        QString devicePath;
        if (const Status read =
                entry->ReadProperty(QString::fromLatin1(devices::kDevicePathProperty), &devicePath);
            Failed(read)) {
            Note(report, *entry, Failure::kNoDevicePath, read);
            continue;
        }
        if (!HasScannerIdentifiers(devicePath)) {
            Note(report, *entry, Failure::kNotTheScanner, kOk, devicePath);
            continue;
        }
        if (matchPath.has_value() && matchPath->compare(devicePath, Qt::CaseInsensitive) != 0) {
            Note(report, *entry, Failure::kNotTheMatch, kOk, devicePath);
            continue;
        }
        if (pathOut != nullptr) {
            *pathOut = devicePath;
        }
        *filterOut = std::move(filter);
        return true;
    }
}

}  // namespace zv
