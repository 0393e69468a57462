#pragma once

#include "platform/media/video_window.h"

#include <QSize>

namespace zv::media {

// The window a VideoRenderer draws into: the video window operations (GUI thread) plus the two
// the renderer calls on the streaming thread, both of which return at once and never wait for
// the GUI thread. The renderer owns its window; implementations: VideoWidgetWindow (a widget,
// in zv_platform_video) and HeadlessVideoWindow (no display).
class RendererWindow : public VideoWindow {
public:
    // The size pictures are drawn at (empty while unknown): the renderer decodes no larger.
    virtual QSize TargetSize() const = 0;
    // A new picture is in the renderer's latest-frame slot: repaint on the window's thread.
    virtual void RequestRepaint() = 0;
};

}  // namespace zv::media
