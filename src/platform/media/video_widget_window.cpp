#include "platform/media/video_widget_window.h"

#include <QMetaObject>

#include <utility>

namespace zv::media {

VideoWidgetWindow::VideoWidgetWindow(std::shared_ptr<const LatestFrame> frames)
    : m_widget(new VideoWidget(std::move(frames))), m_context(std::make_unique<QObject>()) {
    m_widget->setWindowTitle(QStringLiteral("Video Renderer"));
}

VideoWidgetWindow::~VideoWidgetWindow() {
    // The widget is ours unless its owner already deleted it.
    delete m_widget.data();
}

std::unique_ptr<RendererWindow> VideoWidgetWindow::Create(
    std::shared_ptr<const LatestFrame> frames) {
    return std::make_unique<VideoWidgetWindow>(std::move(frames));
}

void VideoWidgetWindow::ApplyParent() {
    const QRect geometry = m_widget->geometry();
    if (m_owner && (m_style & kWindowStyleChild) != 0) {
        m_widget->setParent(m_owner.data(), Qt::Widget);
    } else {
        const Qt::WindowFlags frame = (m_style & kWindowStyleCaption) == kWindowStyleCaption
                                          ? Qt::WindowFlags(Qt::WindowTitleHint)
                                          : Qt::WindowFlags(Qt::FramelessWindowHint);
        m_widget->setParent(m_owner.data(), Qt::Window | frame);
    }
    // setParent hides the widget and may move it: put both back.
    m_widget->setGeometry(geometry);
    m_widget->setVisible(m_visible);
}

Status VideoWidgetWindow::PutOwner(QWidget* owner) {
    if (!m_widget) {
        return kFail;
    }
    m_owner = owner;
    ApplyParent();
    return kOk;
}

Status VideoWidgetWindow::GetOwner(QWidget** owner) const {
    if (owner == nullptr) {
        return kPointer;
    }
    *owner = m_owner.data();
    return m_widget ? kOk : kFail;
}

Status VideoWidgetWindow::PutMessageDrain(QWidget* drain) {
    if (!m_widget) {
        return kFail;
    }
    m_widget->SetDrain(drain);
    return kOk;
}

Status VideoWidgetWindow::GetMessageDrain(QWidget** drain) const {
    if (drain == nullptr) {
        return kPointer;
    }
    *drain = m_widget ? m_widget->Drain() : nullptr;
    return m_widget ? kOk : kFail;
}

Status VideoWidgetWindow::PutWindowStyle(std::int32_t style) {
    if (!m_widget) {
        return kFail;
    }
    m_style = style;
    ApplyParent();
    return kOk;
}

Status VideoWidgetWindow::GetWindowStyle(std::int32_t* style) const {
    if (style == nullptr) {
        return kPointer;
    }
    *style = m_style;
    return m_widget ? kOk : kFail;
}

Status VideoWidgetWindow::SetWindowPosition(int left, int top, int width, int height) {
    if (!m_widget) {
        return kFail;
    }
    if (width < 0 || height < 0) {
        return kInvalidArg;
    }
    m_widget->setGeometry(left, top, width, height);
    m_targetWidth.store(width);
    m_targetHeight.store(height);
    return kOk;
}

Status VideoWidgetWindow::GetWindowPosition(QRect* rect) const {
    if (rect == nullptr) {
        return kPointer;
    }
    if (!m_widget) {
        return kFail;
    }
    *rect = m_widget->geometry();
    return kOk;
}

Status VideoWidgetWindow::PutVisible(bool visible) {
    if (!m_widget) {
        return kFail;
    }
    m_visible = visible;
    m_widget->setVisible(visible);
    return kOk;
}

Status VideoWidgetWindow::GetVisible(bool* visible) const {
    if (visible == nullptr) {
        return kPointer;
    }
    *visible = m_widget && m_visible;
    return m_widget ? kOk : kFail;
}

QSize VideoWidgetWindow::TargetSize() const {
    return QSize(m_targetWidth.load(), m_targetHeight.load());
}

void VideoWidgetWindow::RequestRepaint() {
    if (m_repaintPending.exchange(true)) {
        return;  // one is queued already; it will paint the latest picture
    }
    QMetaObject::invokeMethod(
        m_context.get(),
        [this] {
            m_repaintPending.store(false);
            if (m_widget) {
                m_widget->update();
            }
        },
        Qt::QueuedConnection);
}

}  // namespace zv::media
