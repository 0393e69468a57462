#pragma once

#include "platform/media/latest_frame.h"
#include "platform/media/preview_sink.h"

#include <QWidget>

#include <memory>

namespace zv {

// The live preview in the window's preview area: paints the capture renderer's latest picture
// over its whole area on a black ground. Made once by the window as a child of the preview area
// and placed there as each capture starts. Its sink is what the renderer hands pictures to: the
// size shown (the renderer decodes no larger) and the repaint requests, which reach this widget
// only while it lives. Mouse input falls through to the preview area beneath; it takes no focus.
// GUI thread only (the sink excepted).
class VideoWidget : public QWidget {
    Q_OBJECT

public:
    explicit VideoWidget(QWidget* parent);

    const std::shared_ptr<media::PreviewSink>& Sink() const { return m_sink; }
    // Paints `frames` at `geometry` (the parent's coordinates) from now on, and shows itself.
    void ShowFrames(std::shared_ptr<const media::LatestFrame> frames, QRect geometry);
    // Hides itself and lets the pictures go.
    void HideFrames();
    // Paint events handled so far.
    int PaintCount() const { return m_paints; }
    // Paints that drew a picture (not only the black ground) since the pictures were shown.
    int PicturesPainted() const { return m_pictures; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<media::PreviewSink> m_sink;
    std::shared_ptr<const media::LatestFrame> m_frames;
    int m_paints = 0;
    int m_pictures = 0;
};

}  // namespace zv
