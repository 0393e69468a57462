#pragma once

#include "platform/media/renderer_window.h"

#include <atomic>

namespace zv::media {

// The video window of a renderer without a display (headless runs, tests below the window
// layer): it keeps owner, drain, style, position and visibility as set, and counts repaint
// requests. The owner and drain are only remembered, never dereferenced. Video window calls on
// the GUI thread; TargetSize and RequestRepaint from the streaming thread.
class HeadlessVideoWindow : public RendererWindow {
public:
    Status PutOwner(QWidget* owner) override;
    Status GetOwner(QWidget** owner) const override;
    Status PutMessageDrain(QWidget* drain) override;
    Status GetMessageDrain(QWidget** drain) const override;
    Status PutWindowStyle(std::int32_t style) override;
    Status GetWindowStyle(std::int32_t* style) const override;
    Status SetWindowPosition(int left, int top, int width, int height) override;
    Status GetWindowPosition(QRect* rect) const override;
    Status PutVisible(bool visible) override;
    Status GetVisible(bool* visible) const override;

    QSize TargetSize() const override;
    void RequestRepaint() override;

    int RepaintRequests() const { return m_repaints.load(); }

private:
    // GUI thread.
    QWidget* m_owner = nullptr;
    QWidget* m_drain = nullptr;
    std::int32_t m_style = kWindowStyleCaption;
    QRect m_rect;
    bool m_visible = false;
    // Written on the GUI thread, read on the streaming thread.
    std::atomic<int> m_targetWidth{0};
    std::atomic<int> m_targetHeight{0};
    std::atomic<int> m_repaints{0};
};

}  // namespace zv::media
