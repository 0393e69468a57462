#pragma once

#include "platform/media/latest_frame.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace zv::media {

// The widget a VideoWidgetWindow shows: paints the renderer's latest picture over its whole
// area on a black ground, and passes its mouse and keyboard input on to the message drain
// widget when one is set. GUI thread only.
class VideoWidget : public QWidget {
    Q_OBJECT

public:
    explicit VideoWidget(std::shared_ptr<const LatestFrame> frames);

    void SetDrain(QWidget* drain) { m_drain = drain; }
    QWidget* Drain() const { return m_drain.data(); }
    // Paint events handled so far.
    int PaintCount() const { return m_paints; }
    // Paints that drew a picture (not only the black ground).
    int PicturesPainted() const { return m_pictures; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool ForwardToDrain(QEvent* event);

    std::shared_ptr<const LatestFrame> m_frames;
    QPointer<QWidget> m_drain;
    int m_paints = 0;
    int m_pictures = 0;
};

}  // namespace zv::media
