#include "resources/dialog_template.h"

namespace zv {
namespace {

using enum ControlKind;

constexpr std::uint32_t kCentred = kStyleCentred;
constexpr std::uint32_t kTrackbar = kStyleBothSided | kStyleNoTicks;

// Controls in template order; later controls lie above earlier ones.
constexpr std::array kControls = {
    ControlTemplate{3000, PushButton, kStyleDefaultButton, "Scan", 451, 318, 66, 28, {}},
    ControlTemplate{3008, PushButton, kStyleNone, "Browse", 541, 318, 66, 28, {}},
    ControlTemplate{1001, Static, kStyleLeftNoWordWrap, "", 7, 7, 405, 270, {}},
    ControlTemplate{3027, GroupBox, kStyleNone, "Adjust", 422, 7, 208, 207, {}},
    ControlTemplate{3028, Static, kCentred, "Saturation", 425, 30, 57, 9, {}},
    ControlTemplate{3029, Static, kCentred, "Brightness", 425, 49, 57, 9, {}},
    ControlTemplate{3030, Static, kCentred, "Contrast", 425, 68, 57, 9, {}},
    ControlTemplate{3031, Static, kCentred, "R", 425, 99, 57, 9, {}},
    ControlTemplate{3032, Static, kCentred, "G", 425, 118, 57, 9, {}},
    ControlTemplate{3033, Static, kCentred, "B", 425, 139, 57, 9, {}},
    ControlTemplate{3012, Static, kStyleNone, "0", 606, 30, 17, 8, {}},
    ControlTemplate{3013, Static, kStyleNone, "0", 606, 49, 17, 8, {}},
    ControlTemplate{3014, Static, kStyleNone, "0", 606, 67, 17, 8, {}},
    ControlTemplate{3015, Static, kStyleNone, "0", 606, 99, 17, 8, {}},
    ControlTemplate{3016, Static, kStyleNone, "0", 606, 118, 17, 8, {}},
    ControlTemplate{3017, Static, kStyleNone, "0", 606, 139, 17, 8, {}},
    ControlTemplate{1002, Trackbar, kTrackbar, "", 484, 27, 117, 16, {}},
    ControlTemplate{1003, Trackbar, kTrackbar, "", 484, 46, 117, 16, {}},
    ControlTemplate{1004, Trackbar, kTrackbar, "", 484, 65, 117, 16, {}},
    ControlTemplate{1005, Trackbar, kTrackbar, "", 484, 94, 117, 16, {}},
    ControlTemplate{1006, Trackbar, kTrackbar, "", 484, 115, 117, 16, {}},
    ControlTemplate{1007, Trackbar, kTrackbar, "", 484, 137, 117, 16, {}},
    ControlTemplate{3022, RadioButton, kStyleGroup, "Default", 452, 174, 77, 10, {}},
    ControlTemplate{3023, RadioButton, kStyleNone, "Custom", 539, 174, 72, 10, {}},
    ControlTemplate{3021, PushButton, kStyleHidden, "Default", 573, 194, 46, 14, {}},
    ControlTemplate{3034, GroupBox, kStyleNone, "Settings", 422, 218, 208, 46, {}},
    ControlTemplate{1011, Static, kStyleNone, "Save Files In", 435, 230, 91, 9, {}},
    ControlTemplate{1008, Edit, kStyleBorder | kStyleAutoHScroll, "", 435, 244, 165, 12, {}},
    ControlTemplate{1009, PushButton, kStyleNone, "...", 606, 243, 19, 14, {}},
    ControlTemplate{3024, GroupBox, kStyleNone, "Film Type", 7, 289, 405, 27, {}},
    ControlTemplate{3003, RadioButton, kStyleGroup, "Slide", 27, 300, 57, 11, {}},
    ControlTemplate{3004, RadioButton, kStyleNone, "Negative", 103, 300, 66, 11, {}},
    ControlTemplate{3005, RadioButton, kStyleNone, "Black&&White", 177, 300, 96, 11, {}},
    ControlTemplate{3025, GroupBox, kStyleNone, "Resolution", 7, 324, 405, 27, {}},
    ControlTemplate{3001, RadioButton, kStyleGroup, "2592x1728", 27, 335, 55, 10, {}},
    ControlTemplate{3002, RadioButton, kStyleNone, "5184x3456", 103, 335, 55, 10, {}},
    ControlTemplate{3026, GroupBox, kStyleNone, "Film Size", 7, 358, 405, 27, {}},
    ControlTemplate{3006, RadioButton, kStyleGroup, "135", 27, 369, 28, 10, {}},
    ControlTemplate{3007, RadioButton, kStyleNone, "126", 103, 369, 28, 10, {}},
    ControlTemplate{3009, RadioButton, kStyleHidden, "110", 177, 369, 28, 10, {}},
    ControlTemplate{3011, RadioButton, kStyleHidden, "S8", 239, 369, 24, 10, {}},
    ControlTemplate{1012, Static, kStyleGroup | kCentred, "", 422, 353, 208, 32, {}},
    ControlTemplate{1000, ComboBox, kStyleHidden | kStyleVScroll, "", 507, 269, 48, 30, {}},
    ControlTemplate{1010, Static, kStyleHidden, "UI Language", 435, 270, 70, 9, {}},
    ControlTemplate{1013, Picture, kCentred | kStyleTransparent, "", 187, 119, 64, 59,
                    ":/icons/no-device.png"},
    ControlTemplate{1014, Static, kCentred, "No Device", 7, 193, 405, 30, {}},
};

constexpr DialogTemplate kScannerWindow{
    102, 643, 394, "MS Shell Dlg", 8, std::span<const ControlTemplate>(kControls)};

}  // namespace

const DialogTemplate& ScannerWindowTemplate() {
    return kScannerWindow;
}

}  // namespace zv
