#pragma once

#include "platform/media/filter.h"
#include "platform/media/latest_frame.h"
#include "platform/media/renderer_window.h"

#include <atomic>
#include <functional>
#include <memory>

namespace zv::media {

// Makes the window a renderer draws into; it paints what `frames` holds. Called on the GUI
// thread when the renderer is made.
using RendererWindowFactory =
    std::function<std::unique_ptr<RendererWindow>(std::shared_ptr<const LatestFrame> frames)>;

// The default video renderer: takes motion JPEG (decoding each frame with TurboJPEG, at a
// reduced DCT scale when the window is smaller than the frame) or 32-bit RGB, keeps only the
// latest picture and asks its window to repaint without waiting for it. Made and driven on the
// GUI thread; Receive on the streaming thread. Its window is its own (GetVideoWindow).
class VideoRenderer : public Filter {
public:
    // Without a factory the renderer draws into a HeadlessVideoWindow (no display).
    explicit VideoRenderer(const RendererWindowFactory& windowFactory = {});
    ~VideoRenderer() override;

    VideoWindow* GetVideoWindow() override { return m_window.get(); }
    RendererWindow& Window() { return *m_window; }
    const LatestFrame& Frames() const { return *m_frames; }
    // The same pictures, for a watcher that may outlive the renderer (the graph is rebuilt on
    // every capture start).
    std::shared_ptr<const LatestFrame> SharedFrames() const { return m_frames; }
    // Samples that could not be shown (broken JPEG, short buffer); any thread.
    int DroppedSamples() const { return m_dropped.load(); }

    Status CheckInputType(const Pin& input, const MediaType& type) const override;
    Status Receive(Pin& input, const MediaSample& sample) override;

private:
    QImage DecodeRgb32(const MediaSample& sample) const;

    Pin& m_input;
    std::shared_ptr<LatestFrame> m_frames;
    std::unique_ptr<RendererWindow> m_window;
    std::atomic<int> m_dropped{0};
};

}  // namespace zv::media
