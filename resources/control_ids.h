#pragma once

// Ids of the scanner window's controls, as its layout table (scanner_window_template.cpp) gives
// them and as every handler and binding addresses them.
namespace zv::ctl {

inline constexpr int kLanguageCombo = 1000;
inline constexpr int kPreviewArea = 1001;
inline constexpr int kSaveFolder = 1008;
inline constexpr int kChooseFolder = 1009;
inline constexpr int kLanguageCaption = 1010;
inline constexpr int kSaveFolderCaption = 1011;
inline constexpr int kStatusLine = 1012;
inline constexpr int kNoDevicePicture = 1013;
inline constexpr int kNoDeviceLabel = 1014;

inline constexpr int kScan = 3000;
inline constexpr int kBrowse = 3008;

// Adjustment sliders (trackbars), their value texts and their captions.
inline constexpr int kSaturationSlider = 1002;
inline constexpr int kBrightnessSlider = 1003;
inline constexpr int kContrastSlider = 1004;
inline constexpr int kRedSlider = 1005;
inline constexpr int kGreenSlider = 1006;
inline constexpr int kBlueSlider = 1007;

inline constexpr int kSaturationText = 3012;
inline constexpr int kBrightnessText = 3013;
inline constexpr int kContrastText = 3014;
inline constexpr int kRedText = 3015;
inline constexpr int kGreenText = 3016;
inline constexpr int kBlueText = 3017;

inline constexpr int kSaturationCaption = 3028;
inline constexpr int kBrightnessCaption = 3029;
inline constexpr int kContrastCaption = 3030;
inline constexpr int kRedCaption = 3031;
inline constexpr int kGreenCaption = 3032;
inline constexpr int kBlueCaption = 3033;

// The Default / Custom radio pair, and the hidden Default push button.
inline constexpr int kDefault = 3022;
inline constexpr int kCustom = 3023;
inline constexpr int kDefaultButton = 3021;

// Film type radios. Black&White is not part of the film type slot's radio range.
inline constexpr int kSlide = 3003;
inline constexpr int kNegative = 3004;
inline constexpr int kBlackWhite = 3005;

// Resolution and film size radios; 110 and S8 are hidden.
inline constexpr int kResolutionLow = 3001;
inline constexpr int kResolutionHigh = 3002;
inline constexpr int kFilmSize135 = 3006;
inline constexpr int kFilmSize126 = 3007;
inline constexpr int kFilmSize110 = 3009;
inline constexpr int kFilmSizeS8 = 3011;

// Group boxes.
inline constexpr int kAdjustGroup = 3027;
inline constexpr int kSettingsGroup = 3034;
inline constexpr int kFilmTypeGroup = 3024;
inline constexpr int kResolutionGroup = 3025;
inline constexpr int kFilmSizeGroup = 3026;

}  // namespace zv::ctl
