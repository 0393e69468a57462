#include "capture/settle_watcher.h"

#include "imaging/frame_signature.h"
#include "platform/media/latest_frame.h"

#include <utility>

namespace zv {

SettleWatcher::SettleWatcher(FrameSource source, SettleDetector::Thresholds thresholds,
                             QObject* parent)
    : QObject(parent), m_source(std::move(source)), m_detector(thresholds) {
    m_poll.setInterval(kPollInterval);
    connect(&m_poll, &QTimer::timeout, this, &SettleWatcher::Poll);
    m_clock.start();
}

void SettleWatcher::Start(StartWith start) {
    m_untaken = start == StartWith::kPictureNew;
    m_rebaseUntil = {};
    // The poll finds "new" pictures and forgets what was seen; it looks at once, so the picture
    // on screen now is the one taken, not one that comes later.
    m_frames.reset();
    m_poll.start();
    Poll();
}

void SettleWatcher::Stop() {
    m_poll.stop();
    // The pictures of a graph that may be gone are not held on to.
    m_frames.reset();
}

void SettleWatcher::Rebase(std::chrono::milliseconds grace) {
    m_rebaseUntil = Now() + grace;
    ForgetPictures();
}

std::chrono::milliseconds SettleWatcher::Now() const {
    return std::chrono::milliseconds(m_clock.elapsed());
}

void SettleWatcher::ForgetPictures() {
    if (m_untaken) {
        m_detector.ResetUntaken();
    } else {
        m_detector.Reset();
    }
}

void SettleWatcher::Poll() {
    if (auto frames = m_source(); frames != m_frames) {
        // A restarted capture: its first picture is the one on screen, as at the start.
        m_frames = std::move(frames);
        m_seen = 0;
        ForgetPictures();
    }
    if (!m_frames || m_frames->Count() == m_seen) {
        return;
    }
    m_seen = m_frames->Count();
    const std::chrono::milliseconds now = Now();
    if (now < m_rebaseUntil) {
        ForgetPictures();
    }
    if (m_detector.Feed(FrameSignature::Of(m_frames->Latest()), now)) {
        m_untaken = false;
        emit settled();
    }
}

}  // namespace zv
