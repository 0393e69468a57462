#pragma once

#include "imaging/thumbnail_maker.h"

#include <QObject>
#include <QSize>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace zv {

// Makes thumbnails of saved scans on a worker thread of its own and hands each back on the
// thread the runner lives on (the GUI thread) with thumbnailReady, in the order they were asked
// for. Request and destruction on the runner's thread.
class ThumbnailRunner : public QObject {
    Q_OBJECT

public:
    explicit ThumbnailRunner(QSize box, QObject* parent = nullptr);
    // Drops the requests not yet started and joins the worker, which finishes the one being made
    // (a decode at 1/8 scale, a few milliseconds): no worker uses the runner afterwards, and the
    // results it had posted are discarded with it, so nothing reaches a destroyed receiver.
    ~ThumbnailRunner() override;

    QSize Box() const { return m_box; }
    void Request(const QString& path);

signals:
    void thumbnailReady(const zv::Thumbnail& thumbnail);

private:
    // The worker thread's loop: takes the oldest request until the runner stops.
    void Work();

    const QSize m_box;
    // Protects m_requests and m_stopping; m_wake tells the worker of either.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    // The paths asked for and not yet taken by the worker, oldest first.
    std::deque<QString> m_requests;
    bool m_stopping = false;
    // One thread of our own (started with the first request): results come in order, the other
    // core stays with the preview, and its hand-offs are plain mutex and condition variable,
    // which the thread checker sees (a Qt pool orders its queue out of its sight).
    std::thread m_worker;
};

}  // namespace zv
