#include "imaging/thumbnail_runner.h"

#include <QMetaObject>

namespace zv {

ThumbnailRunner::ThumbnailRunner(QSize box, QObject* parent) : QObject(parent), m_box(box) {}

ThumbnailRunner::~ThumbnailRunner() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_requests.clear();
    }
    m_wake.notify_one();
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

void ThumbnailRunner::Request(const QString& path) {
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(path);
    }
    if (!m_worker.joinable()) {
        m_worker = std::thread([this] { Work(); });
    }
    m_wake.notify_one();
}

void ThumbnailRunner::Work() {
    for (;;) {
        QString next;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_requests.empty(); });
            if (m_stopping) {
                return;
            }
            next = std::move(m_requests.front());
            m_requests.pop_front();
        }
        Thumbnail thumbnail = MakeThumbnail(next, m_box);
        // Queued to this object: runs on its thread, and is removed unrun if the runner is
        // destroyed first. The destructor joins this thread, so `this` is alive here.
        QMetaObject::invokeMethod(
            this, [this, thumbnail = std::move(thumbnail)] { emit thumbnailReady(thumbnail); },
            Qt::QueuedConnection);
    }
}

}  // namespace zv
