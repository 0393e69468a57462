#pragma once

#include "platform/media/latest_frame.h"
#include "platform/media/renderer_window.h"
#include "platform/media/video_widget.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <memory>

namespace zv::media {

// The video window of a renderer on a display: a VideoWidget that the owner adopts as a child
// (style kWindowStyleChild) or that stands as a window of its own. Made and used on the GUI
// thread; TargetSize and RequestRepaint on the streaming thread.
//
// The widget may die before this object (its owner deletes its children): every use checks the
// QPointer on the GUI thread, and the calls answer kFail from then on. Repaint requests are
// posted to a context object that lives in the GUI thread and dies with this object, so a
// request never reaches a destroyed window; at most one request is pending at a time.
class VideoWidgetWindow : public RendererWindow {
public:
    explicit VideoWidgetWindow(std::shared_ptr<const LatestFrame> frames);
    ~VideoWidgetWindow() override;

    // A RendererWindowFactory for CaptureGraphBuilder::SetRendererWindowFactory.
    static std::unique_ptr<RendererWindow> Create(std::shared_ptr<const LatestFrame> frames);

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

    // The widget, null once its owner destroyed it. GUI thread.
    VideoWidget* Widget() const { return m_widget.data(); }

private:
    void ApplyParent();

    // GUI thread.
    QPointer<VideoWidget> m_widget;
    QPointer<QWidget> m_owner;
    std::int32_t m_style = kWindowStyleCaption;
    bool m_visible = false;
    // Receives the posted repaints on the GUI thread; dies with this object, taking any
    // repaint still queued for it along.
    std::unique_ptr<QObject> m_context;
    // Written on the GUI thread, read on the streaming thread.
    std::atomic<int> m_targetWidth{0};
    std::atomic<int> m_targetHeight{0};
    // Set by the streaming thread when it posts, cleared on the GUI thread when the repaint runs.
    std::atomic<bool> m_repaintPending{false};
};

}  // namespace zv::media
