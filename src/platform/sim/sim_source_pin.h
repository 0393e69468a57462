#pragma once

#include "platform/media/capability_list.h"
#include "platform/media/pin.h"
#include "platform/sim/picture_parameters.h"
#include "platform/sim/sim_scanner_config.h"

#include <QByteArray>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zv::sim {

class SimScannerFilter;

// An output pin of the simulated scanner with its stream configuration and its own streaming
// thread. The capture pin delivers a preview frame every preview interval; the still pin
// delivers one still sample for each queued still. Samples go synchronously through the
// downstream filters on this pin's thread.
// Start and StopStreaming run on the GUI thread (through the filter's Run and Stop);
// StopStreaming joins the thread, so nothing is delivered after it returns. QueueStills may be
// called from any thread.
class SimSourcePin : public media::Pin {
public:
    SimSourcePin(SimScannerFilter& owner, SimPinKind kind, std::vector<media::MediaType> formats,
                 int currentIndex);
    ~SimSourcePin() override;

    SimPinKind Kind() const { return m_kind; }
    media::StreamConfig* GetStreamConfig() override { return &m_config; }
    Status ProposedType(media::MediaType* type) const override;

    void Start();
    void StopStreaming();
    // Queues `count` still samples (still pin only); ignored unless streaming.
    void QueueStills(int count);
    int SamplesDelivered() const { return m_delivered.load(); }

private:
    void CaptureLoop(media::MediaType format);
    void StillLoop(media::MediaType format);
    // Renders and encodes a frame of `format`, reusing the last one while the picture settings
    // and the film frame are unchanged. Streaming thread only.
    const QByteArray& Produce(const media::MediaType& format);
    void DeliverBytes(const QByteArray& bytes, const media::MediaType& format);
    // Waits until `until` or until stopped; true when stopped.
    bool WaitStopped(std::chrono::steady_clock::time_point until);

    SimScannerFilter& m_filter;
    const SimPinKind m_kind;
    media::CapabilityList m_config;
    std::thread m_thread;
    std::chrono::steady_clock::time_point m_start;
    // Protects m_stopping and m_queuedStills; m_wake signals changes of both.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = true;
    int m_queuedStills = 0;
    std::atomic<int> m_delivered{0};
    // Streaming thread only: the last encoded frame and what it was made from.
    QByteArray m_cached;
    std::uint64_t m_cachedGeneration = ~std::uint64_t{0};
    int m_cachedFilmFrame = -1;
};

}  // namespace zv::sim
