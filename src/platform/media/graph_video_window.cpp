#include "platform/media/graph_video_window.h"

#include "platform/media/filter.h"
#include "platform/media/filter_graph.h"

namespace zv::media {

VideoWindow* GraphVideoWindow::Target() const {
    for (const auto& filter : m_graph.EnumFilters()) {
        if (VideoWindow* window = filter->GetVideoWindow()) {
            return window;
        }
    }
    return nullptr;
}

#define ZV_FORWARD(call)            \
    VideoWindow* target = Target(); \
    if (target == nullptr) {        \
        return kNoInterface;        \
    }                               \
    return target->call

Status GraphVideoWindow::PutOwner(QWidget* owner) {
    ZV_FORWARD(PutOwner(owner));
}
Status GraphVideoWindow::GetOwner(QWidget** owner) const {
    ZV_FORWARD(GetOwner(owner));
}
Status GraphVideoWindow::PutMessageDrain(QWidget* drain) {
    ZV_FORWARD(PutMessageDrain(drain));
}
Status GraphVideoWindow::GetMessageDrain(QWidget** drain) const {
    ZV_FORWARD(GetMessageDrain(drain));
}
Status GraphVideoWindow::PutWindowStyle(std::int32_t style) {
    ZV_FORWARD(PutWindowStyle(style));
}
Status GraphVideoWindow::GetWindowStyle(std::int32_t* style) const {
    ZV_FORWARD(GetWindowStyle(style));
}
Status GraphVideoWindow::SetWindowPosition(int left, int top, int width, int height) {
    ZV_FORWARD(SetWindowPosition(left, top, width, height));
}
Status GraphVideoWindow::GetWindowPosition(QRect* rect) const {
    ZV_FORWARD(GetWindowPosition(rect));
}
Status GraphVideoWindow::PutVisible(bool visible) {
    ZV_FORWARD(PutVisible(visible));
}
Status GraphVideoWindow::GetVisible(bool* visible) const {
    ZV_FORWARD(GetVisible(visible));
}

#undef ZV_FORWARD

}  // namespace zv::media
