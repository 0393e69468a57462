#pragma once

#include "imaging/settle_detector.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace zv {

namespace media {
class LatestFrame;
}

// Watches the running capture's preview for a new film frame come to rest and says so once per
// picture (settled). It looks at the preview renderer's latest picture on a timer of the GUI
// thread: the streaming thread only stores pictures and never waits for this one. A restarted
// capture (a new graph after a film size change or a reconnection) hands out other pictures;
// the watcher then starts over as it did when watching began. GUI thread only.
class SettleWatcher : public QObject {
    Q_OBJECT

public:
    // The running capture's preview pictures, or null while there is none.
    using FrameSource = std::function<std::shared_ptr<const media::LatestFrame>()>;
    enum class StartWith {
        kPictureTaken,  // the picture on screen counts as taken: the next frame settles
        kPictureNew,    // the picture on screen settles too, once it rests
    };
    // How long after a change of the picture's look (Rebase) what is shown counts as taken:
    // the new look reaches the preview a few frames after the change.
    static constexpr std::chrono::milliseconds kRebaseGrace{1000};
    // How often the preview is looked at: about every preview frame at 25 frames a second.
    static constexpr std::chrono::milliseconds kPollInterval{40};

    explicit SettleWatcher(
        FrameSource source,
        SettleDetector::Thresholds thresholds = SettleDetector::DefaultThresholds(),
        QObject* parent = nullptr);

    // Starts (or starts over) watching.
    void Start(StartWith start);
    void Stop();
    bool IsWatching() const { return m_poll.isActive(); }
    // The user changed the picture's look (film type, adjustments) without moving the film: for
    // `grace` from now the pictures shown count as taken, so the new look is no new frame.
    void Rebase(std::chrono::milliseconds grace = kRebaseGrace);

signals:
    // A new picture has come to rest (once per picture).
    void settled();

private:
    void Poll();
    // Forgets the pictures seen; the next one is taken unless no picture has settled yet since
    // a start with kPictureNew.
    void ForgetPictures();
    std::chrono::milliseconds Now() const;

    FrameSource m_source;
    SettleDetector m_detector;
    QTimer m_poll;
    // Sample times of the pictures: when this thread first saw them.
    QElapsedTimer m_clock;
    std::shared_ptr<const media::LatestFrame> m_frames;
    // LatestFrame::Count() of the picture fed last.
    std::uint64_t m_seen = 0;
    bool m_untaken = false;
    std::chrono::milliseconds m_rebaseUntil{0};
};

}  // namespace zv
