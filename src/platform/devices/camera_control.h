#pragma once

#include "platform/devices/property_control.h"

namespace zv::devices {

// Camera control property indices (the device's camera terminal).
inline constexpr int kCameraControlPan = 0;
inline constexpr int kCameraControlTilt = 1;
inline constexpr int kCameraControlRoll = 2;
inline constexpr int kCameraControlZoom = 3;
inline constexpr int kCameraControlExposure = 4;
inline constexpr int kCameraControlIris = 5;
inline constexpr int kCameraControlFocus = 6;
// Indices 0 to 19 exist.
inline constexpr int kCameraControlPropertyCount = 20;

// The camera terminal's properties of a device source filter (media::Filter::GetCameraControl).
// GUI thread.
class CameraControl : public PropertyControl {};

}  // namespace zv::devices
