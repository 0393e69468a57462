#pragma once

#include <cstdint>

// Identifiers of the localised strings. Every string table holds all of them.
namespace zv::ids {
inline constexpr std::uint32_t kScan = 131;
inline constexpr std::uint32_t kAdjust = 132;
inline constexpr std::uint32_t kSaturation = 133;
inline constexpr std::uint32_t kBrightness = 134;
inline constexpr std::uint32_t kContrast = 135;
inline constexpr std::uint32_t kRed = 136;
inline constexpr std::uint32_t kGreen = 137;
inline constexpr std::uint32_t kBlue = 138;
inline constexpr std::uint32_t kDefault = 139;
inline constexpr std::uint32_t kCustom = 140;
inline constexpr std::uint32_t kFilmType = 141;
inline constexpr std::uint32_t kSlide = 142;
inline constexpr std::uint32_t kNegative = 143;
inline constexpr std::uint32_t kBlackWhite = 144;
inline constexpr std::uint32_t kResolution = 145;
inline constexpr std::uint32_t kFilmSize = 146;
inline constexpr std::uint32_t kSettings = 147;
inline constexpr std::uint32_t kUiLanguage = 148;
inline constexpr std::uint32_t kSaveFilesIn = 149;
inline constexpr std::uint32_t kBrowse = 150;
inline constexpr std::uint32_t kSaveSucceeded = 151;
inline constexpr std::uint32_t kSaveFailed = 152;
inline constexpr std::uint32_t kPlugInScanner = 153;
// The auto-scan check box; its text is English in every table until translated.
inline constexpr std::uint32_t kScanWhenSettled = 154;

inline constexpr std::uint32_t kFirst = kScan;
inline constexpr std::uint32_t kLast = kScanWhenSettled;
}  // namespace zv::ids
