#include "window/video_widget.h"

#include <QPainter>
#include <QPointer>

#include <utility>

namespace zv {

VideoWidget::VideoWidget(QWidget* parent)
    : QWidget(parent),
      // The sink may outlive this widget (a renderer holds it until its graph goes).
      m_sink(std::make_shared<media::PreviewSink>([widget = QPointer<VideoWidget>(this)] {
          if (widget) {
              widget->update();
          }
      })) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void VideoWidget::ShowFrames(std::shared_ptr<const media::LatestFrame> frames, QRect geometry) {
    m_frames = std::move(frames);
    m_pictures = 0;
    setGeometry(geometry);
    m_sink->SetTargetSize(geometry.size());
    show();
    update();
}

void VideoWidget::HideFrames() {
    hide();
    m_frames.reset();
}

void VideoWidget::paintEvent(QPaintEvent* /*event*/) {
    ++m_paints;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QImage frame = m_frames ? m_frames->Latest() : QImage();
    if (!frame.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), frame);
        ++m_pictures;
    }
}

}  // namespace zv
