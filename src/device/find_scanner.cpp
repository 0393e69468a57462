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

// Opens the device's extension unit for the identification only; it is closed again before the
// caller goes on.
bool IsIdentifiedChip(const std::shared_ptr<media::Filter>& filter, const ProbePause& pause) {
    ExtensionUnitHandle unit;
    if (Failed(OpenExtensionUnit(&unit, filter, pause))) {
        return false;
    }
    const bool identified = IdentifyChip(unit);
    CloseExtensionUnit(&unit);
    return identified;
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
                 const ProbePause& pause) {
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
        if (Failed(entry->BindFilter(&filter)) || filter == nullptr) {
            // A device that cannot be bound ends the walk, whatever follows it.
            return false;
        }
        if (!IsIdentifiedChip(filter, pause)) {
            continue;
        }
        QString devicePath;
        if (Failed(entry->ReadProperty(QString::fromLatin1(devices::kDevicePathProperty),
                                       &devicePath))) {
            continue;
        }
        if (!HasScannerIdentifiers(devicePath)) {
            continue;
        }
        if (matchPath.has_value() && matchPath->compare(devicePath, Qt::CaseInsensitive) != 0) {
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
