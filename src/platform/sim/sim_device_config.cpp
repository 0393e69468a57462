#include "platform/sim/sim_device_config.h"

#include "platform/devices/camera_control.h"
#include "platform/devices/video_proc_amp.h"

namespace zv::sim {

namespace {

SimPropertyConfig DrivingProperty(int index, PictureProperty drives) {
    const PropertyRange range = PictureParameters::Range(drives);
    SimPropertyConfig config;
    config.index = index;
    config.minimum = range.minimum;
    config.maximum = range.maximum;
    config.steppingDelta = range.step;
    config.defaultValue = range.defaultValue;
    config.drives = drives;
    return config;
}

SimPropertyConfig PlainProperty(int index, std::int32_t minimum, std::int32_t maximum,
                                std::int32_t defaultValue, std::int32_t capsFlags,
                                std::int32_t initialFlags) {
    SimPropertyConfig config;
    config.index = index;
    config.minimum = minimum;
    config.maximum = maximum;
    config.defaultValue = defaultValue;
    config.capsFlags = capsFlags;
    config.initialFlags = initialFlags;
    return config;
}

}  // namespace

QString SimDevicePath(std::uint16_t vendorId, std::uint16_t productId, const QString& serial) {
    return QStringLiteral("sim:usb#vid_%1&pid_%2#%3#%4")
        .arg(vendorId, 4, 16, QLatin1Char('0'))
        .arg(productId, 4, 16, QLatin1Char('0'))
        .arg(serial, contract::kCaptureInterfaceCategory.ToString().toLower());
}

SimExtensionUnitConfig ScannerExtensionUnit() {
    SimExtensionUnitConfig unit;
    SimSelectorConfig command;
    command.number = contract::kIdentifyWriteSelector;
    command.access = devices::kKsPropertyTypeGet | devices::kKsPropertyTypeSet;
    command.size = 8;
    SimSelectorConfig reply;
    reply.number = contract::kIdentifyReadSelector;
    reply.access = devices::kKsPropertyTypeGet;
    reply.size = 8;
    unit.selectors = {command, reply};
    return unit;
}

std::vector<SimPropertyConfig> ScannerVideoProperties() {
    return {DrivingProperty(devices::kVideoProcAmpBrightness, PictureProperty::kBrightness),
            DrivingProperty(devices::kVideoProcAmpContrast, PictureProperty::kContrast),
            DrivingProperty(devices::kVideoProcAmpSaturation, PictureProperty::kSaturation),
            DrivingProperty(devices::kVideoProcAmpGamma, PictureProperty::kGamma)};
}

std::vector<SimPropertyConfig> ScannerCameraProperties() {
    return {DrivingProperty(devices::kCameraControlPan, PictureProperty::kRedLevel),
            DrivingProperty(devices::kCameraControlTilt, PictureProperty::kBlueLevel),
            DrivingProperty(devices::kCameraControlRoll, PictureProperty::kFilmType),
            DrivingProperty(devices::kCameraControlZoom, PictureProperty::kGreenLevel)};
}

SimDeviceConfig ScannerDevice(const QString& serial) {
    SimDeviceConfig config;
    config.devicePath = SimDevicePath(contract::kUsbVendorId, contract::kUsbProductId, serial);
    config.friendlyName = QStringLiteral("Simulated Film Scanner");
    config.manufacturer = QStringLiteral("zevuvora simulator");
    config.product = QStringLiteral("Simulated Film Scanner");
    config.extensionUnits = {ScannerExtensionUnit()};
    config.videoProperties = ScannerVideoProperties();
    config.cameraProperties = ScannerCameraProperties();
    return config;
}

SimDeviceConfig WebcamDevice(const QString& serial) {
    constexpr std::int32_t kManual = devices::kPropertyFlagsManual;
    constexpr std::int32_t kBoth = devices::kPropertyFlagsAuto | devices::kPropertyFlagsManual;
    constexpr std::int32_t kAuto = devices::kPropertyFlagsAuto;
    SimDeviceConfig config;
    config.devicePath = SimDevicePath(0x046D, 0x0825, serial);
    config.friendlyName = QStringLiteral("Simulated Webcam");
    config.manufacturer = QStringLiteral("zevuvora simulator");
    config.product = QStringLiteral("Simulated Webcam");
    config.capture.hasStillPin = false;
    config.videoProperties = {
        PlainProperty(devices::kVideoProcAmpBrightness, 0, 255, 128, kManual, kManual),
        PlainProperty(devices::kVideoProcAmpContrast, 0, 255, 32, kManual, kManual),
        PlainProperty(devices::kVideoProcAmpSaturation, 0, 255, 32, kManual, kManual),
        PlainProperty(devices::kVideoProcAmpSharpness, 0, 255, 24, kManual, kManual),
        PlainProperty(devices::kVideoProcAmpWhiteBalance, 2000, 6500, 4000, kBoth, kAuto),
        PlainProperty(devices::kVideoProcAmpBacklightCompensation, 0, 1, 0, kManual, kManual),
        PlainProperty(devices::kVideoProcAmpGain, 0, 255, 0, kManual, kManual)};
    config.cameraProperties = {
        PlainProperty(devices::kCameraControlExposure, -11, -2, -5, kBoth, kAuto),
        PlainProperty(devices::kCameraControlFocus, 0, 250, 0, kBoth, kAuto)};
    return config;
}

}  // namespace zv::sim
