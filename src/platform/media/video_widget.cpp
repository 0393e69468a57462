#include "platform/media/video_widget.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <utility>

namespace zv::media {

VideoWidget::VideoWidget(std::shared_ptr<const LatestFrame> frames) : m_frames(std::move(frames)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

bool VideoWidget::event(QEvent* event) {
    if (m_drain && ForwardToDrain(event)) {
        return true;
    }
    return QWidget::event(event);
}

bool VideoWidget::ForwardToDrain(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QPointF global = mouse->globalPosition();
            QMouseEvent mapped(mouse->type(), m_drain->mapFromGlobal(global), global,
                               mouse->button(), mouse->buttons(), mouse->modifiers());
            QCoreApplication::sendEvent(m_drain.data(), &mapped);
            return true;
        }
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(),
                           key->isAutoRepeat(), static_cast<quint16>(key->count()));
            QCoreApplication::sendEvent(m_drain.data(), &copy);
            return true;
        }
        default:
            return false;
    }
}

void VideoWidget::paintEvent(QPaintEvent* /*event*/) {
    ++m_paints;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QImage frame = m_frames->Latest();
    if (!frame.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), frame);
        ++m_pictures;
    }
}

}  // namespace zv::media
