#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace zv {

// A dialog layout as the system defines it: controls with ids, kinds, styles, template texts and
// rectangles in dialog units of the dialog font.
enum class ControlKind : std::uint8_t {
    PushButton,
    GroupBox,
    Static,
    Trackbar,
    RadioButton,
    Edit,
    ComboBox,
    Picture,
};

// Style bits of a control of the template (a subset of what the layout uses).
enum ControlStyle : std::uint32_t {
    kStyleNone = 0,
    kStyleGroup = 1u << 0,           // starts a group (radio groups, tab groups)
    kStyleDefaultButton = 1u << 1,   // the default push button
    kStyleCentred = 1u << 2,         // centred static text or picture
    kStyleHidden = 1u << 3,          // not visible at start
    kStyleLeftNoWordWrap = 1u << 4,  // static: left-aligned, no word wrap
    kStyleTransparent = 1u << 5,     // picture drawn over what is beneath
    kStyleBorder = 1u << 6,          // edit border
    kStyleAutoHScroll = 1u << 7,     // edit scrolls horizontally
    kStyleVScroll = 1u << 8,         // drop-down list with a vertical scroll bar
    kStyleBothSided = 1u << 9,       // trackbar thumb pointing both ways
    kStyleNoTicks = 1u << 10,        // trackbar without tick marks
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    std::uint32_t style;
    std::string_view text;  // UTF-8; "&&" is a literal ampersand
    int x;
    int y;
    int width;
    int height;
    std::string_view resource;  // picture: the image resource it shows
};

struct DialogTemplate {
    int id;
    int width;   // dialog units
    int height;  // dialog units
    std::string_view fontFace;
    int fontPoints;
    std::span<const ControlTemplate> controls;
};

// Template 102: the scanner window.
const DialogTemplate& ScannerWindowTemplate();

}  // namespace zv
