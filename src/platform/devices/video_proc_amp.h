#pragma once

#include "platform/devices/property_control.h"

namespace zv::devices {

// Video processing amplifier property indices (the device's processing unit).
inline constexpr int kVideoProcAmpBrightness = 0;
inline constexpr int kVideoProcAmpContrast = 1;
inline constexpr int kVideoProcAmpHue = 2;
inline constexpr int kVideoProcAmpSaturation = 3;
inline constexpr int kVideoProcAmpSharpness = 4;
inline constexpr int kVideoProcAmpGamma = 5;
inline constexpr int kVideoProcAmpColorEnable = 6;
inline constexpr int kVideoProcAmpWhiteBalance = 7;
inline constexpr int kVideoProcAmpBacklightCompensation = 8;
inline constexpr int kVideoProcAmpGain = 9;
// Indices 0 to 13 exist.
inline constexpr int kVideoProcAmpPropertyCount = 14;

// The processing unit's picture properties of a device source filter
// (media::Filter::GetVideoProcAmp). GUI thread.
class VideoProcAmp : public PropertyControl {};

}  // namespace zv::devices
