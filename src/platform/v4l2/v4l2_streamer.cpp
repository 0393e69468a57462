#include "platform/v4l2/v4l2_streamer.h"

#include "platform/devices/ks_property.h"
#include "platform/v4l2/v4l2_frame_check.h"
#include "platform/v4l2/v4l2_frame_sink.h"
#include "platform/v4l2/v4l2_io.h"
#include "platform/v4l2/v4l2_status.h"

#include <algorithm>
#include <cerrno>
#include <utility>

namespace zv::v4l2 {

namespace {

// Frame interval assumed for a format without one (15 frames/s).
constexpr int kFallbackIntervalMs = 67;

bool SameStream(const V4l2Format& a, const V4l2Format& b) {
    return a.pixelFormat == b.pixelFormat && a.width == b.width && a.height == b.height;
}

}  // namespace

V4l2Streamer::V4l2Streamer(V4l2Io& io, int fd, V4l2FrameSink& sink, V4l2StreamTiming timing)
    : m_io(io), m_fd(fd), m_sink(sink), m_timing(timing), m_stream(io, fd) {}

V4l2Streamer::~V4l2Streamer() {
    Stop();
    if (m_wakeFd >= 0) {
        m_io.Close(m_wakeFd);
    }
}

Status V4l2Streamer::Start(const V4l2Format& preview, std::optional<V4l2Format> still) {
    Stop();
    if (m_wakeFd < 0) {
        const int fd = m_io.CreateWakeup();
        if (fd < 0) {
            return StatusFromErrno(-fd);
        }
        m_wakeFd = fd;
    }
    m_io.DrainWakeup(m_wakeFd);
    if (const Status status = m_stream.Start(preview); Failed(status)) {
        return status;
    }
    m_preview = preview;
    m_still = std::move(still);
    m_started = std::chrono::steady_clock::now();
    m_lost.store(false);
    m_restarts.store(0);
    {
        std::lock_guard lock(m_mutex);
        m_stopping = false;
        m_triggers = 0;
    }
    m_thread = std::thread(&V4l2Streamer::Loop, this);
    return kOk;
}

void V4l2Streamer::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_triggers = 0;
    }
    if (m_wakeFd >= 0) {
        m_io.SignalWakeup(m_wakeFd);
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_stream.Stop();
}

void V4l2Streamer::Trigger() {
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping || !m_thread.joinable()) {
            return;
        }
        ++m_triggers;
    }
    m_io.SignalWakeup(m_wakeFd);
}

bool V4l2Streamer::StopRequested() {
    std::lock_guard lock(m_mutex);
    return m_stopping;
}

bool V4l2Streamer::TakeTrigger() {
    std::lock_guard lock(m_mutex);
    if (m_stopping || m_triggers == 0) {
        return false;
    }
    --m_triggers;
    return true;
}

double V4l2Streamer::Now() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
}

V4l2Streamer::Event V4l2Streamer::Wait(int timeoutMs) {
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    const int ready = m_io.Poll(fds, 2, timeoutMs);
    if (ready < 0) {
        // An interrupted wait is a spurious wake; anything else leaves us nothing to wait on.
        return ready == -EINTR ? Event::kWake : Event::kLost;
    }
    if ((fds[1].revents & POLLIN) != 0) {
        m_io.DrainWakeup(m_wakeFd);
        return Event::kWake;
    }
    if (ready == 0) {
        return Event::kTimeout;
    }
    if ((fds[0].revents & POLLIN) != 0) {
        return Event::kFrame;
    }
    // POLLERR or POLLHUP without a frame: the dequeue that follows tells a lost device from a
    // broken stream.
    return Event::kError;
}

bool V4l2Streamer::SwitchTo(const V4l2Format& format) {
    m_stream.Stop();
    m_startFailure = m_stream.Start(format);
    return Succeeded(m_startFailure);
}

void V4l2Streamer::EndLost(Status cause) {
    m_lost.store(true);
    if (cause == devices::kDeviceNotConnected) {
        m_sink.OnDeviceGone();
    }
}

bool V4l2Streamer::RestartPreview() {
    m_restarts.fetch_add(1);
    return SwitchTo(m_preview);
}

void V4l2Streamer::Pause(int timeoutMs) {
    pollfd wake = {m_wakeFd, POLLIN, 0};
    if (m_io.Poll(&wake, 1, timeoutMs) > 0) {
        m_io.DrainWakeup(m_wakeFd);
    }
}

bool V4l2Streamer::Recover(int* failures) {
    // A device that keeps failing is given a stall's time between attempts, so that a broken
    // stream does not keep this thread busy; a stop or a trigger ends the pause early.
    if (++*failures > 1) {
        Pause(m_timing.minStallMs);
        if (StopRequested()) {
            return false;
        }
    }
    if (!RestartPreview()) {
        EndLost(m_startFailure);
        return false;
    }
    return true;
}

void V4l2Streamer::Loop() {
    const int stallMs = m_timing.StallTimeoutMs(m_preview.IntervalMs(kFallbackIntervalMs));
    int skip = m_timing.framesSkippedAfterStart;
    int failures = 0;
    while (!StopRequested()) {
        if (TakeTrigger()) {
            if (!CaptureStill()) {
                break;
            }
            skip = m_timing.framesSkippedAfterStart;
            continue;
        }
        const Event event = Wait(stallMs);
        if (event == Event::kWake) {
            continue;
        }
        if (event == Event::kLost) {
            m_lost.store(true);
            break;
        }
        if (event == Event::kTimeout) {
            if (!Recover(&failures)) {
                break;
            }
            skip = m_timing.framesSkippedAfterStart;
            continue;
        }
        V4l2Stream::Frame frame;
        Status status = m_stream.Dequeue(&frame);
        if (status == kFalse) {
            if (event == Event::kFrame) {
                continue;
            }
            // An error with nothing to take would wake every poll at once: start afresh.
            status = kFail;
        }
        if (Failed(status)) {
            // A device that is gone ends the stream; a broken one is started afresh.
            if (status == devices::kDeviceNotConnected) {
                EndLost(status);
                break;
            }
            if (!Recover(&failures)) {
                break;
            }
            skip = m_timing.framesSkippedAfterStart;
            continue;
        }
        failures = 0;
        if (skip > 0) {
            --skip;
        } else if (!frame.error) {
            const std::size_t length = CompleteFrameLength(m_preview, frame.data, frame.bytesUsed);
            if (length > 0) {
                m_sink.OnPreviewFrame(frame.data, length, Now());
            }
        }
        if (const Status requeued = m_stream.Requeue(frame.index); Failed(requeued)) {
            EndLost(requeued);
            break;
        }
    }
    m_stream.Stop();
}

V4l2Streamer::StillOutcome V4l2Streamer::TakeStill(int skip, std::vector<std::uint8_t>* still,
                                                   double* time) {
    const int frameMs = m_timing.StallTimeoutMs(m_still->IntervalMs(kFallbackIntervalMs));
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(m_timing.stillTimeoutMs);
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            return StillOutcome::kGivenUp;
        }
        const Event event = Wait(static_cast<int>(std::min<long long>(left, frameMs)));
        if (event == Event::kWake) {
            if (StopRequested()) {
                return StillOutcome::kStopped;
            }
            continue;  // another trigger: taken after this one
        }
        if (event == Event::kLost) {
            return StillOutcome::kLost;
        }
        if (event == Event::kTimeout) {
            continue;
        }
        V4l2Stream::Frame frame;
        const Status status = m_stream.Dequeue(&frame);
        if (status == kFalse) {
            if (event == Event::kFrame) {
                continue;
            }
            return StillOutcome::kBroken;
        }
        if (Failed(status)) {
            return status == devices::kDeviceNotConnected ? StillOutcome::kLost
                                                          : StillOutcome::kBroken;
        }
        if (skip > 0) {
            --skip;
        } else if (!frame.error) {
            const std::size_t length = CompleteFrameLength(*m_still, frame.data, frame.bytesUsed);
            if (length > 0) {
                still->assign(frame.data, frame.data + length);
                *time = Now();
            }
        }
        if (Failed(m_stream.Requeue(frame.index))) {
            return still->empty() ? StillOutcome::kBroken : StillOutcome::kTakenBroken;
        }
        if (!still->empty()) {
            return StillOutcome::kTaken;
        }
    }
}

bool V4l2Streamer::CaptureStill() {
    if (!m_still.has_value()) {
        return true;  // no still pin: nothing to take
    }
    const bool switched = !SameStream(*m_still, m_preview);
    std::vector<std::uint8_t> still;
    double time = 0;
    StillOutcome outcome = StillOutcome::kBroken;
    if (!switched || SwitchTo(*m_still)) {
        outcome = TakeStill(switched ? m_timing.framesSkippedAfterStart : 0, &still, &time);
    }
    if (outcome == StillOutcome::kStopped) {
        return false;
    }
    if (outcome == StillOutcome::kLost) {
        EndLost(devices::kDeviceNotConnected);
        return false;
    }
    const bool broken = outcome == StillOutcome::kBroken || outcome == StillOutcome::kTakenBroken;
    const bool previewBack = !(switched || broken) || SwitchTo(m_preview);
    if (!still.empty()) {
        m_sink.OnStillFrame(std::move(still), time);
    }
    if (!previewBack) {
        EndLost(m_startFailure);
        return false;
    }
    return true;
}

}  // namespace zv::v4l2
