#include "imaging/thumbnail_runner.h"

#include <QMetaObject>

namespace zv {

ThumbnailRunner::ThumbnailRunner(QSize box, QObject* parent) : QObject(parent), m_box(box) {
    m_pool.setMaxThreadCount(1);
}

ThumbnailRunner::~ThumbnailRunner() {
    m_pool.clear();
    m_pool.waitForDone();
}

void ThumbnailRunner::Request(const QString& path) {
    {
        std::lock_guard lock(m_requestsMutex);
        m_requests.push_back(path);
    }
    // One worker takes the tasks in order, so each task takes the oldest path.
    m_pool.start([this] {
        QString next;
        {
            std::lock_guard lock(m_requestsMutex);
            next = std::move(m_requests.front());
            m_requests.pop_front();
        }
        Thumbnail thumbnail = MakeThumbnail(next, m_box);
        // Queued to this object: runs on its thread, and is removed unrun if the runner is
        // destroyed first. The destructor waits for this worker, so `this` is alive here.
        QMetaObject::invokeMethod(
            this, [this, thumbnail = std::move(thumbnail)] { emit thumbnailReady(thumbnail); },
            Qt::QueuedConnection);
    });
}

}  // namespace zv
