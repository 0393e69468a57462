#pragma once

// Ids of the scanner window's controls that the property slots and the adjustment controls work
// on; the window's layout carries the same ids.
namespace zv::slotctl {

// Sliders (trackbars), their value texts and their captions.
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

// Film type radio buttons. Black&White is not part of the film type slot's radio range.
inline constexpr int kSlide = 3003;
inline constexpr int kNegative = 3004;
inline constexpr int kBlackWhite = 3005;

// The Default / Custom radio pair.
inline constexpr int kDefault = 3022;
inline constexpr int kCustom = 3023;

}  // namespace zv::slotctl
