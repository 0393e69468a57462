#pragma once

#include "platform/status.h"
#include "platform/v4l2/v4l2_format.h"
#include "platform/v4l2/v4l2_stream.h"
#include "platform/v4l2/v4l2_stream_timing.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace zv::v4l2 {

class V4l2FrameSink;
class V4l2Io;

// The streaming thread of a device filter. It streams the preview format, hands every complete
// frame to the sink as a preview frame, and on a trigger emulates the still pin the driver does
// not have: stream off, switch to the still format, take the first complete frame after the
// start-up frames, stream off, switch back to the preview format, hand the still over; the
// preview resumes by itself. When the still format is the preview format the next complete frame
// is the still, without a switch. A stream that stalls is restarted; an unplugged device ends the
// thread.
// Start and Stop on the GUI thread (through the filter's Run and Stop); Stop joins the thread.
// Trigger on the GUI thread too (the filter's video control); only the streaming thread takes it.
class V4l2Streamer {
public:
    V4l2Streamer(V4l2Io& io, int fd, V4l2FrameSink& sink, V4l2StreamTiming timing);
    ~V4l2Streamer();
    V4l2Streamer(const V4l2Streamer&) = delete;
    V4l2Streamer& operator=(const V4l2Streamer&) = delete;

    // Starts the preview stream on the calling thread, so that its failure (a busy device:
    // kSharingViolation) is the result, then the streaming thread.
    Status Start(const V4l2Format& preview, std::optional<V4l2Format> still);
    // Ends the thread and the stream. Safe when not started.
    void Stop();
    // One still; ignored when not streaming.
    void Trigger();

    // Whether the streaming thread has ended by itself (device lost) since Start.
    bool Lost() const { return m_lost.load(); }
    // Whether a stream was started and not stopped (GUI thread).
    bool Running() const { return m_thread.joinable(); }
    int Restarts() const { return m_restarts.load(); }

private:
    // What a wait ended with: a frame to take, a wake-up (stop or trigger), nothing within the
    // time-out, an error on the device, nothing left to wait on.
    enum class Event { kFrame, kWake, kTimeout, kError, kLost };
    enum class StillOutcome { kTaken, kTakenBroken, kGivenUp, kBroken, kStopped, kLost };

    void Loop();
    Event Wait(int timeoutMs);
    bool StopRequested();
    bool TakeTrigger();
    // False when the thread must end (stop or device lost).
    bool CaptureStill();
    // Waits for the first complete frame of the still stream after `skip` frames.
    StillOutcome TakeStill(int skip, std::vector<std::uint8_t>* still, double* time);
    // Stops the stream and starts it in `format`; false when it cannot start.
    bool SwitchTo(const V4l2Format& format);
    // A stalled or broken preview stream started again (counted).
    bool RestartPreview();
    // The thread ends by itself; `cause` tells whether the device is gone (the sink hears so).
    void EndLost(Status cause);
    // RestartPreview after a pause when the last attempt failed too; false when the thread must
    // end (stop, or the stream cannot start).
    bool Recover(int* failures);
    // Waits for a wake-up (stop or trigger) at most this long.
    void Pause(int timeoutMs);
    double Now() const;

    V4l2Io& m_io;
    const int m_fd;
    V4l2FrameSink& m_sink;
    const V4l2StreamTiming m_timing;
    V4l2Stream m_stream;
    // Written by Start before the thread runs, read by the thread only.
    V4l2Format m_preview;
    std::optional<V4l2Format> m_still;
    std::chrono::steady_clock::time_point m_started;
    // Why the last stream start on the streaming thread failed.
    Status m_startFailure = kOk;
    int m_wakeFd = -1;
    std::thread m_thread;
    // Protects m_stopping and m_triggers; every change is followed by a signal on m_wakeFd.
    std::mutex m_mutex;
    bool m_stopping = false;
    int m_triggers = 0;
    std::atomic<bool> m_lost{false};
    std::atomic<int> m_restarts{0};
};

}  // namespace zv::v4l2
