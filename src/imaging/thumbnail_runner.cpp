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
    m_pool.start([this, path, box = m_box] {
        Thumbnail thumbnail = MakeThumbnail(path, box);
        // Queued to this object: runs on its thread, and is removed unrun if the runner is
        // destroyed first. The destructor waits for this worker, so `this` is alive here.
        QMetaObject::invokeMethod(
            this, [this, thumbnail = std::move(thumbnail)] { emit thumbnailReady(thumbnail); },
            Qt::QueuedConnection);
    });
}

}  // namespace zv
