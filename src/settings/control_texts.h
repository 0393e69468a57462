#pragma once

#include "resources/control_ids.h"
#include "resources/strings/string_ids.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace zv {

// Which control shows which localised string, in the order the texts are applied. The last row
// is the no-device label, whose text goes through the label's own SetText.
struct ControlText {
    std::uint32_t stringId;
    int controlId;
};

inline constexpr std::array<ControlText, 21> kControlTexts = {{
    {ids::kScan, ctl::kScan},
    {ids::kAdjust, ctl::kAdjustGroup},
    {ids::kSaturation, ctl::kSaturationCaption},
    {ids::kBrightness, ctl::kBrightnessCaption},
    {ids::kContrast, ctl::kContrastCaption},
    {ids::kRed, ctl::kRedCaption},
    {ids::kGreen, ctl::kGreenCaption},
    {ids::kBlue, ctl::kBlueCaption},
    {ids::kDefault, ctl::kDefault},
    {ids::kCustom, ctl::kCustom},
    {ids::kFilmType, ctl::kFilmTypeGroup},
    {ids::kSlide, ctl::kSlide},
    {ids::kNegative, ctl::kNegative},
    {ids::kBlackWhite, ctl::kBlackWhite},
    {ids::kResolution, ctl::kResolutionGroup},
    {ids::kFilmSize, ctl::kFilmSizeGroup},
    {ids::kSettings, ctl::kSettingsGroup},
    {ids::kUiLanguage, ctl::kLanguageCaption},
    {ids::kSaveFilesIn, ctl::kSaveFolderCaption},
    {ids::kBrowse, ctl::kBrowse},
    {ids::kPlugInScanner, ctl::kNoDeviceLabel},
}};

// The language combo's items, in the order of kLanguageComboIds.
inline constexpr std::array<std::string_view, 8> kLanguageComboItems = {
    "English", "Chinese", "Russian", "German", "French", "Italian", "Spanish", "Japanese"};

// The resolution radios' texts for a film size index (not localised); empty for the sizes that
// leave them as they are.
struct ResolutionTexts {
    std::string_view lower;
    std::string_view higher;
};

constexpr ResolutionTexts ResolutionTextsFor(int filmSizeIndex) {
    switch (filmSizeIndex) {
        case 0:
            return {"2592x1728", "5184x3456"};
        case 1:
            return {"1497x1497", "2995x2995"};
        default:
            return {};
    }
}

}  // namespace zv
