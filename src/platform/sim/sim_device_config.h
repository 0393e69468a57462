#pragma once

#include "platform/devices/ks_property.h"
#include "platform/devices/property_control.h"
#include "platform/devices/scanner_contract.h"
#include "platform/guid.h"
#include "platform/sim/picture_parameters.h"
#include "platform/sim/sim_scanner_config.h"
#include "platform/status.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// What a simulated device on the simulated device bus is: its identity, whether its filter can be
// bound, its capture filter, its topology with extension units and their selectors, and its
// picture properties. Plain values; fixed once the device is plugged.
namespace zv::sim {

// One selector of a simulated extension unit.
struct SimSelectorConfig {
    std::uint32_t number = 0;  // 1 to 32
    // What a basic-support request answers as access flags (get 1, set 2).
    std::uint32_t access = devices::kKsPropertyTypeGet | devices::kKsPropertyTypeSet;
    std::uint32_t size = 1;
    // The value the selector holds at plug time, least significant byte first; zero-padded or cut
    // to `size`.
    std::vector<std::uint8_t> value;
    // A failing basic-support request.
    Status basicSupportResult = kOk;
    // The first this many get requests (size probes and reads) answer kNotReady.
    int notReadyAnswers = 0;
    // The answer to a get whose buffer is shorter than the selector: kMoreData or
    // kInsufficientBuffer with the size as bytes returned; a success code returns no size.
    Status shortBufferResult = kMoreData;
    // A failure here answers every read (a get with a buffer large enough).
    Status readResult = kOk;
    // A failure here answers every write.
    Status writeResult = kOk;
};

// One vendor extension unit: a device-specific node of the topology.
struct SimExtensionUnitConfig {
    // The property set the unit answers; requests under any other set answer kSetNotFound.
    Guid propertySet = contract::kExtensionUnitPropertySet;
    // What the set-support request answers.
    Status setSupportResult = kOk;
    // A failure here answers the node type query of the unit's node.
    Status nodeTypeResult = kOk;
    // Unit information (the extension unit descriptor from its code on): code, number of
    // controls (default: the number of selectors), source ids (one per input pin), control
    // bitmap size and bitmap (default: bit s-1 for every selector s), then the string index.
    Guid extensionCode = contract::kExtensionUnitPropertySet;
    std::optional<std::uint8_t> controlCount;
    std::vector<std::uint8_t> sourceIds{2};
    std::uint8_t bitmapSize = 3;
    std::optional<std::uint64_t> bitmap;
    // Replaces the unit information built from the fields above, byte for byte.
    std::optional<std::vector<std::uint8_t>> unitInfo;
    Status unitInfoResult = kOk;
    std::vector<SimSelectorConfig> selectors;
    // The chip's identification: the identification command written on the command selector
    // makes the reply selector answer `reply` (cut or zero-padded to its size); any other write
    // on the command selector clears the reply to zeros.
    bool answersIdentification = true;
    std::vector<std::uint8_t> reply{contract::kIdentifyReply.begin(),
                                    contract::kIdentifyReply.end()};
};

// One picture property of the processing unit (VideoProcAmp) or the camera terminal
// (CameraControl).
struct SimPropertyConfig {
    int index = 0;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t steppingDelta = 1;
    std::int32_t defaultValue = 0;
    std::int32_t capsFlags = devices::kPropertyFlagsManual;
    // The value and flags at plug time (default: the default value, manual).
    std::optional<std::int32_t> initialValue;
    std::int32_t initialFlags = devices::kPropertyFlagsManual;
    // The picture setting of the rendered frames the property drives, if any.
    std::optional<PictureProperty> drives;
    // A failure here answers GetRange (a property the device reports wrongly).
    Status rangeResult = kOk;
};

struct SimDeviceConfig {
    // The device path; arrival and removal notifications carry it as interface name.
    QString devicePath;
    QString friendlyName;
    // The USB manufacturer and product strings.
    QString manufacturer;
    QString product;
    // Interface class of the device's notifications; only capture devices are video inputs.
    Guid interfaceClass = contract::kCaptureInterfaceCategory;
    // Binding the device's filter fails with this (the device cannot be opened).
    Status bindResult = kOk;
    // Reading the device's "DevicePath" fails with this.
    Status devicePathResult = kOk;

    // The capture filter: pins, formats, busy device, still delivery.
    SimScannerConfig capture;

    // Topology: camera terminal (node 0), processing unit (node 1), then one device-specific node
    // per extension unit, in order.
    bool hasKsControl = true;
    bool hasTopologyInfo = true;
    Status numNodesResult = kOk;
    std::vector<SimExtensionUnitConfig> extensionUnits;

    bool hasVideoProcAmp = true;
    bool hasCameraControl = true;
    std::vector<SimPropertyConfig> videoProperties;
    std::vector<SimPropertyConfig> cameraProperties;
};

// "sim:usb#vid_8888&pid_0001#SCN0001#{65e8773d-8f56-11d0-a3b9-00a0c9223196}": the form every
// simulated device path has, with the identifiers in lower case.
QString SimDevicePath(std::uint16_t vendorId, std::uint16_t productId, const QString& serial);

// The scanner chip's vendor extension unit: selector 10 (command, read and write, 8 bytes) and
// selector 11 (reply, read, 8 bytes).
SimExtensionUnitConfig ScannerExtensionUnit();
// The scanner's properties: brightness, contrast, saturation, gamma; red (pan), blue (tilt),
// film type (roll), green (zoom); each driving the matching picture setting with its range.
std::vector<SimPropertyConfig> ScannerVideoProperties();
std::vector<SimPropertyConfig> ScannerCameraProperties();

// A film scanner with this serial number.
SimDeviceConfig ScannerDevice(const QString& serial = QStringLiteral("SCN0001"));
// A webcam: another vendor, no vendor extension unit, no still pin, properties of its own (some
// with automatic mode).
SimDeviceConfig WebcamDevice(const QString& serial = QStringLiteral("CAM0001"));

}  // namespace zv::sim
