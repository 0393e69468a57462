#include "platform/media/preview_sink.h"

#include <QMetaObject>
#include <QObject>

#include <utility>

namespace zv::media {

static_assert(std::atomic<QSize>::is_always_lock_free, "the streaming thread must never wait");

PreviewSink::PreviewSink(std::function<void()> repaint)
    : m_repaint(std::move(repaint)), m_context(std::make_unique<QObject>()) {}

PreviewSink::~PreviewSink() = default;

void PreviewSink::SetTargetSize(QSize size) {
    m_targetSize.store(size);
}

void PreviewSink::RequestRepaint() {
    if (m_repaintPending.exchange(true)) {
        return;  // one is queued already; it will paint the latest picture
    }
    QMetaObject::invokeMethod(
        m_context.get(),
        [this] {
            m_repaintPending.store(false);
            if (m_repaint) {
                m_repaint();
            }
        },
        Qt::QueuedConnection);
}

}  // namespace zv::media
