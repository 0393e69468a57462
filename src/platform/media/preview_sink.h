#pragma once

#include <QSize>

#include <atomic>
#include <functional>
#include <memory>

class QObject;

namespace zv::media {

// The hand-off from a video renderer to whatever shows its pictures: the size they are shown at
// (the renderer decodes no larger) and a repaint request for each new picture in the renderer's
// latest-frame slot.
//
// Made on the GUI thread, which runs `repaint`; SetTargetSize there too. The renderer calls
// TargetSize and RequestRepaint on its streaming thread: both return at once and never wait for
// the GUI thread. Requests are posted to a context object that dies with the sink, so a request
// still queued then is dropped; at most one is pending at a time (it paints the latest picture,
// whatever arrived since it was posted). Shared by the renderers and the widget's owner; the
// last owner lets it go on the GUI thread (renderers go with their graph, there).
class PreviewSink {
public:
    explicit PreviewSink(std::function<void()> repaint);
    ~PreviewSink();
    PreviewSink(const PreviewSink&) = delete;
    PreviewSink& operator=(const PreviewSink&) = delete;

    void SetTargetSize(QSize size);
    // Empty while unknown: the renderer then decodes at full size.
    QSize TargetSize() const { return m_targetSize.load(); }
    void RequestRepaint();

private:
    // GUI thread.
    const std::function<void()> m_repaint;
    std::unique_ptr<QObject> m_context;
    // Written on the GUI thread, read on the streaming thread: width and height as one value.
    std::atomic<QSize> m_targetSize{QSize()};
    // Set by the streaming thread when it posts, cleared on the GUI thread when the repaint runs.
    std::atomic<bool> m_repaintPending{false};
};

}  // namespace zv::media
