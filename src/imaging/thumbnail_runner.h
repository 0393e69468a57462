#pragma once

#include "imaging/thumbnail_maker.h"

#include <QObject>
#include <QSize>
#include <QThreadPool>

#include <deque>
#include <mutex>

namespace zv {

// Makes thumbnails of saved scans on a worker thread of its own and hands each back on the
// thread the runner lives on (the GUI thread) with thumbnailReady, in the order they were asked
// for. Request and destruction on the runner's thread.
class ThumbnailRunner : public QObject {
    Q_OBJECT

public:
    explicit ThumbnailRunner(QSize box, QObject* parent = nullptr);
    // Drops the requests not yet started and waits for the one being made (a decode at 1/8
    // scale, a few milliseconds): no worker uses the runner afterwards, and the results it had
    // posted are discarded with it, so nothing reaches a destroyed receiver.
    ~ThumbnailRunner() override;

    QSize Box() const { return m_box; }
    void Request(const QString& path);

signals:
    void thumbnailReady(const zv::Thumbnail& thumbnail);

private:
    const QSize m_box;
    // The paths asked for and not yet taken by the worker, oldest first. Handed over under a
    // mutex of ours rather than inside the pool's task, whose hand-off Qt orders out of sight of
    // the thread checker. Protected by m_requestsMutex.
    std::mutex m_requestsMutex;
    std::deque<QString> m_requests;
    // One thread: results come in order, and the other core stays with the preview.
    QThreadPool m_pool;
};

}  // namespace zv
