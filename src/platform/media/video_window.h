#pragma once

#include "platform/status.h"

#include <QRect>

#include <cstdint>

class QWidget;

namespace zv::media {

// Window style bits the video window understands.
inline constexpr std::int32_t kWindowStyleChild = 0x40000000;    // a child of its owner, no frame
inline constexpr std::int32_t kWindowStyleCaption = 0x00C00000;  // title bar when top-level

// The video renderer's window: its owner (the widget it becomes a child of), the widget that
// receives its mouse and keyboard input (message drain), its style, its position in the owner's
// client coordinates and its visibility. GUI thread. A window whose widget was destroyed (its
// owner went first) answers kFail.
class VideoWindow {
public:
    virtual ~VideoWindow() = default;

    virtual Status PutOwner(QWidget* owner) = 0;
    virtual Status GetOwner(QWidget** owner) const = 0;
    virtual Status PutMessageDrain(QWidget* drain) = 0;
    virtual Status GetMessageDrain(QWidget** drain) const = 0;
    virtual Status PutWindowStyle(std::int32_t style) = 0;
    virtual Status GetWindowStyle(std::int32_t* style) const = 0;
    virtual Status SetWindowPosition(int left, int top, int width, int height) = 0;
    virtual Status GetWindowPosition(QRect* rect) const = 0;
    virtual Status PutVisible(bool visible) = 0;
    virtual Status GetVisible(bool* visible) const = 0;
};

}  // namespace zv::media
