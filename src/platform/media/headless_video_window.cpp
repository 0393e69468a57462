#include "platform/media/headless_video_window.h"

namespace zv::media {

Status HeadlessVideoWindow::PutOwner(QWidget* owner) {
    m_owner = owner;
    return kOk;
}

Status HeadlessVideoWindow::GetOwner(QWidget** owner) const {
    if (owner == nullptr) {
        return kPointer;
    }
    *owner = m_owner;
    return kOk;
}

Status HeadlessVideoWindow::PutMessageDrain(QWidget* drain) {
    m_drain = drain;
    return kOk;
}

Status HeadlessVideoWindow::GetMessageDrain(QWidget** drain) const {
    if (drain == nullptr) {
        return kPointer;
    }
    *drain = m_drain;
    return kOk;
}

Status HeadlessVideoWindow::PutWindowStyle(std::int32_t style) {
    m_style = style;
    return kOk;
}

Status HeadlessVideoWindow::GetWindowStyle(std::int32_t* style) const {
    if (style == nullptr) {
        return kPointer;
    }
    *style = m_style;
    return kOk;
}

Status HeadlessVideoWindow::SetWindowPosition(int left, int top, int width, int height) {
    if (width < 0 || height < 0) {
        return kInvalidArg;
    }
    m_rect = QRect(left, top, width, height);
    m_targetWidth.store(width);
    m_targetHeight.store(height);
    return kOk;
}

Status HeadlessVideoWindow::GetWindowPosition(QRect* rect) const {
    if (rect == nullptr) {
        return kPointer;
    }
    *rect = m_rect;
    return kOk;
}

Status HeadlessVideoWindow::PutVisible(bool visible) {
    m_visible = visible;
    return kOk;
}

Status HeadlessVideoWindow::GetVisible(bool* visible) const {
    if (visible == nullptr) {
        return kPointer;
    }
    *visible = m_visible;
    return kOk;
}

QSize HeadlessVideoWindow::TargetSize() const {
    return QSize(m_targetWidth.load(), m_targetHeight.load());
}

void HeadlessVideoWindow::RequestRepaint() {
    m_repaints.fetch_add(1);
}

}  // namespace zv::media
