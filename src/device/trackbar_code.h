#pragma once

// Notification codes of a slider change, as the window passes them to
// AdjustmentControls::OnHScroll. The window maps its slider's actions onto them: single step
// sub/add = line up/down, page step sub/add = page up/down, move (drag) = thumb track,
// to minimum/maximum = top/bottom.
namespace zv::tb {

inline constexpr int kLineUp = 0;
inline constexpr int kLineDown = 1;
inline constexpr int kPageUp = 2;
inline constexpr int kPageDown = 3;
inline constexpr int kThumbTrack = 5;
inline constexpr int kTop = 6;
inline constexpr int kBottom = 7;

// Whether a slider change with this code writes the device. Top and bottom (Home and End)
// move the slider only.
constexpr bool WritesDevice(int notificationCode) {
    switch (notificationCode) {
        case kLineUp:
        case kLineDown:
        case kPageUp:
        case kPageDown:
        case kThumbTrack:
            return true;
        default:
            return false;
    }
}

}  // namespace zv::tb
