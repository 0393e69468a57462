#include "resources/control_ids.h"
#include "resources/dialog_template.h"

namespace zv {
namespace {

using enum ControlKind;

constexpr std::uint32_t kCentred = kStyleCentred;
constexpr std::uint32_t kTrackbar = kStyleBothSided | kStyleNoTicks;

// Controls in template order; later controls lie above earlier ones.
constexpr std::array kControls = {
    ControlTemplate{ctl::kScan, PushButton, kStyleDefaultButton, "Scan", 451, 318, 66, 28, {}},
    ControlTemplate{ctl::kBrowse, PushButton, kStyleNone, "Browse", 541, 318, 66, 28, {}},
    ControlTemplate{ctl::kPreviewArea, Static, kStyleLeftNoWordWrap, "", 7, 7, 405, 270, {}},
    ControlTemplate{ctl::kAdjustGroup, GroupBox, kStyleNone, "Adjust", 422, 7, 208, 207, {}},
    ControlTemplate{ctl::kSaturationCaption, Static, kCentred, "Saturation", 425, 30, 57, 9, {}},
    ControlTemplate{ctl::kBrightnessCaption, Static, kCentred, "Brightness", 425, 49, 57, 9, {}},
    ControlTemplate{ctl::kContrastCaption, Static, kCentred, "Contrast", 425, 68, 57, 9, {}},
    ControlTemplate{ctl::kRedCaption, Static, kCentred, "R", 425, 99, 57, 9, {}},
    ControlTemplate{ctl::kGreenCaption, Static, kCentred, "G", 425, 118, 57, 9, {}},
    ControlTemplate{ctl::kBlueCaption, Static, kCentred, "B", 425, 139, 57, 9, {}},
    ControlTemplate{ctl::kSaturationText, Static, kStyleNone, "0", 606, 30, 17, 8, {}},
    ControlTemplate{ctl::kBrightnessText, Static, kStyleNone, "0", 606, 49, 17, 8, {}},
    ControlTemplate{ctl::kContrastText, Static, kStyleNone, "0", 606, 67, 17, 8, {}},
    ControlTemplate{ctl::kRedText, Static, kStyleNone, "0", 606, 99, 17, 8, {}},
    ControlTemplate{ctl::kGreenText, Static, kStyleNone, "0", 606, 118, 17, 8, {}},
    ControlTemplate{ctl::kBlueText, Static, kStyleNone, "0", 606, 139, 17, 8, {}},
    ControlTemplate{ctl::kSaturationSlider, Trackbar, kTrackbar, "", 484, 27, 117, 16, {}},
    ControlTemplate{ctl::kBrightnessSlider, Trackbar, kTrackbar, "", 484, 46, 117, 16, {}},
    ControlTemplate{ctl::kContrastSlider, Trackbar, kTrackbar, "", 484, 65, 117, 16, {}},
    ControlTemplate{ctl::kRedSlider, Trackbar, kTrackbar, "", 484, 94, 117, 16, {}},
    ControlTemplate{ctl::kGreenSlider, Trackbar, kTrackbar, "", 484, 115, 117, 16, {}},
    ControlTemplate{ctl::kBlueSlider, Trackbar, kTrackbar, "", 484, 137, 117, 16, {}},
    ControlTemplate{ctl::kDefault, RadioButton, kStyleGroup, "Default", 452, 174, 77, 10, {}},
    ControlTemplate{ctl::kCustom, RadioButton, kStyleNone, "Custom", 539, 174, 72, 10, {}},
    ControlTemplate{ctl::kDefaultButton, PushButton, kStyleHidden, "Default", 573, 194, 46, 14, {}},
    ControlTemplate{ctl::kSettingsGroup, GroupBox, kStyleNone, "Settings", 422, 218, 208, 46, {}},
    ControlTemplate{
        ctl::kSaveFolderCaption, Static, kStyleNone, "Save Files In", 435, 230, 91, 9, {}},
    ControlTemplate{
        ctl::kSaveFolder, Edit, kStyleBorder | kStyleAutoHScroll, "", 435, 244, 165, 12, {}},
    ControlTemplate{ctl::kChooseFolder, PushButton, kStyleNone, "...", 606, 243, 19, 14, {}},
    ControlTemplate{ctl::kFilmTypeGroup, GroupBox, kStyleNone, "Film Type", 7, 289, 405, 27, {}},
    ControlTemplate{ctl::kSlide, RadioButton, kStyleGroup, "Slide", 27, 300, 57, 11, {}},
    ControlTemplate{ctl::kNegative, RadioButton, kStyleNone, "Negative", 103, 300, 66, 11, {}},
    ControlTemplate{
        ctl::kBlackWhite, RadioButton, kStyleNone, "Black&&White", 177, 300, 96, 11, {}},
    ControlTemplate{ctl::kResolutionGroup, GroupBox, kStyleNone, "Resolution", 7, 324, 405, 27, {}},
    ControlTemplate{
        ctl::kResolutionLow, RadioButton, kStyleGroup, "2592x1728", 27, 335, 55, 10, {}},
    ControlTemplate{
        ctl::kResolutionHigh, RadioButton, kStyleNone, "5184x3456", 103, 335, 55, 10, {}},
    ControlTemplate{ctl::kFilmSizeGroup, GroupBox, kStyleNone, "Film Size", 7, 358, 405, 27, {}},
    ControlTemplate{ctl::kFilmSize135, RadioButton, kStyleGroup, "135", 27, 369, 28, 10, {}},
    ControlTemplate{ctl::kFilmSize126, RadioButton, kStyleNone, "126", 103, 369, 28, 10, {}},
    ControlTemplate{ctl::kFilmSize110, RadioButton, kStyleHidden, "110", 177, 369, 28, 10, {}},
    ControlTemplate{ctl::kFilmSizeS8, RadioButton, kStyleHidden, "S8", 239, 369, 24, 10, {}},
    ControlTemplate{ctl::kStatusLine, Static, kStyleGroup | kCentred, "", 422, 353, 208, 32, {}},
    ControlTemplate{
        ctl::kLanguageCombo, ComboBox, kStyleHidden | kStyleVScroll, "", 507, 269, 48, 30, {}},
    ControlTemplate{
        ctl::kLanguageCaption, Static, kStyleHidden, "UI Language", 435, 270, 70, 9, {}},
    ControlTemplate{ctl::kNoDevicePicture, Picture, kCentred | kStyleTransparent, "", 187, 119, 64,
                    59, ":/icons/no-device.png"},
    ControlTemplate{ctl::kNoDeviceLabel, Static, kCentred, "No Device", 7, 193, 405, 30, {}},
};

constexpr DialogTemplate kScannerWindow{
    102, 643, 394, "MS Shell Dlg", 8, std::span<const ControlTemplate>(kControls)};

}  // namespace

const DialogTemplate& ScannerWindowTemplate() {
    return kScannerWindow;
}

}  // namespace zv
