#include "platform/sim/sim_device_spec.h"

#include "platform/devices/camera_control.h"
#include "platform/devices/video_proc_amp.h"

namespace zv::sim {

namespace {

SimPropertySpec DrivingProperty(int index, PictureProperty drives) {
    const PropertyRange range = PictureParameters::Range(drives);
    SimPropertySpec spec;
    spec.index = index;
    spec.minimum = range.minimum;
    spec.maximum = range.maximum;
    spec.steppingDelta = range.step;
    spec.defaultValue = range.defaultValue;
    spec.drives = drives;
    return spec;
}

SimPropertySpec PlainProperty(int index, std::int32_t minimum, std::int32_t maximum,
                              std::int32_t defaultValue, std::int32_t capsFlags,
                              std::int32_t initialFlags) {
    SimPropertySpec spec;
    spec.index = index;
    spec.minimum = minimum;
    spec.maximum = maximum;
    spec.defaultValue = defaultValue;
    spec.capsFlags = capsFlags;
    spec.initialFlags = initialFlags;
    return spec;
}

}  // namespace

QString SimDevicePath(std::uint16_t vendorId, std::uint16_t productId, const QString& serial) {
    return QStringLiteral("sim:usb#vid_%1&pid_%2#%3#%4")
        .arg(vendorId, 4, 16, QLatin1Char('0'))
        .arg(productId, 4, 16, QLatin1Char('0'))
        .arg(serial, contract::kCaptureInterfaceCategory.ToString().toLower());
}

SimExtensionUnitSpec ScannerExtensionUnit() {
    SimExtensionUnitSpec unit;
    SimSelectorSpec command;
    command.number = contract::kIdentifyWriteSelector;
    command.access = devices::kKsPropertyTypeGet | devices::kKsPropertyTypeSet;
    command.size = 8;
    SimSelectorSpec reply;
    reply.number = contract::kIdentifyReadSelector;
    reply.access = devices::kKsPropertyTypeGet;
    reply.size = 8;
    unit.selectors = {command, reply};
    return unit;
}

std::vector<SimPropertySpec> ScannerVideoProperties() {
    return {DrivingProperty(devices::kVideoProcAmpBrightness, PictureProperty::kBrightness),
            DrivingProperty(devices::kVideoProcAmpContrast, PictureProperty::kContrast),
            DrivingProperty(devices::kVideoProcAmpSaturation, PictureProperty::kSaturation),
            DrivingProperty(devices::kVideoProcAmpGamma, PictureProperty::kGamma)};
}

std::vector<SimPropertySpec> ScannerCameraProperties() {
    return {DrivingProperty(devices::kCameraControlPan, PictureProperty::kRedLevel),
            DrivingProperty(devices::kCameraControlTilt, PictureProperty::kBlueLevel),
            DrivingProperty(devices::kCameraControlRoll, PictureProperty::kFilmType),
            DrivingProperty(devices::kCameraControlZoom, PictureProperty::kGreenLevel)};
}

SimDeviceSpec ScannerDevice(const QString& serial) {
    SimDeviceSpec spec;
    spec.devicePath = SimDevicePath(contract::kUsbVendorId, contract::kUsbProductId, serial);
    spec.friendlyName = QStringLiteral("Simulated Film Scanner");
    spec.extensionUnits = {ScannerExtensionUnit()};
    spec.videoProperties = ScannerVideoProperties();
    spec.cameraProperties = ScannerCameraProperties();
    return spec;
}

SimDeviceSpec WebcamDevice(const QString& serial) {
    constexpr std::int32_t kManual = devices::kPropertyFlagsManual;
    constexpr std::int32_t kBoth = devices::kPropertyFlagsAuto | devices::kPropertyFlagsManual;
    constexpr std::int32_t kAuto = devices::kPropertyFlagsAuto;
    SimDeviceSpec spec;
    spec.devicePath = SimDevicePath(0x046D, 0x0825, serial);
    spec.friendlyName = QStringLiteral("Simulated Webcam");
    spec.capture.hasStillPin = false;
    spec.videoProperties = {
        PlainProperty(devices::kVideoProcAmpBrightness, 0, 255, 128, kManual, kManual),
        PlainProperty(devices::kVideoProcAmpContrast, 0, 255, 32, kManual, kManual),
        PlainProperty(devices::kVideoProcAmpSaturation, 0, 255, 32, kManual, kManual),
        PlainProperty(devices::kVideoProcAmpSharpness, 0, 255, 24, kManual, kManual),
        PlainProperty(devices::kVideoProcAmpWhiteBalance, 2000, 6500, 4000, kBoth, kAuto),
        PlainProperty(devices::kVideoProcAmpBacklightCompensation, 0, 1, 0, kManual, kManual),
        PlainProperty(devices::kVideoProcAmpGain, 0, 255, 0, kManual, kManual)};
    spec.cameraProperties = {
        PlainProperty(devices::kCameraControlExposure, -11, -2, -5, kBoth, kAuto),
        PlainProperty(devices::kCameraControlFocus, 0, 250, 0, kBoth, kAuto)};
    return spec;
}

}  // namespace zv::sim
