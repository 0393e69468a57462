#pragma once

#include "platform/media/filter.h"
#include "platform/media/latest_frame.h"
#include "platform/media/preview_sink.h"

#include <atomic>
#include <memory>

namespace zv::media {

// The default video renderer: takes motion JPEG (decoding each frame with TurboJPEG, at a
// reduced DCT scale when the picture is shown smaller than the frame) or 32-bit RGB, keeps only
// the latest picture and asks its sink to repaint without waiting for it. Made and driven on the
// GUI thread; Receive on the streaming thread.
class VideoRenderer : public Filter {
public:
    // Without a sink (no display) the pictures are only kept, at full size.
    explicit VideoRenderer(std::shared_ptr<PreviewSink> sink = nullptr);
    ~VideoRenderer() override;

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
    // Set at construction and never changed: the streaming thread reads it without a lock.
    const std::shared_ptr<PreviewSink> m_sink;
    std::atomic<int> m_dropped{0};
};

}  // namespace zv::media
