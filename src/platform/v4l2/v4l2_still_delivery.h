#pragma once

#include "platform/media/media_type.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace zv::media {
class Pin;
}

namespace zv::v4l2 {

// The still pin's own streaming thread: stills handed over by the device stream are delivered
// downstream from here, one after the other, so that a long save holds up neither the preview
// nor the next still. Stop delivers what is still queued and joins the thread, so every still
// taken before a stop reaches the still branch before the graph stops.
// Start and Stop on the GUI thread (through the filter's Run and Stop); Push from the device
// streaming thread.
class V4l2StillDelivery {
public:
    V4l2StillDelivery() = default;
    ~V4l2StillDelivery();
    V4l2StillDelivery(const V4l2StillDelivery&) = delete;
    V4l2StillDelivery& operator=(const V4l2StillDelivery&) = delete;

    // The pin to deliver on, set once before the first Start; without one (a filter without a
    // still pin) nothing is ever delivered.
    void SetPin(const media::Pin* pin) { m_pin = pin; }
    // Starts delivering samples of `type` (the still pin's format); does nothing without a pin.
    void Start(media::MediaType type);
    void Stop();
    // Queues one still; dropped when not started.
    void Push(std::vector<std::uint8_t> bytes, double time);
    int Delivered() const;

private:
    struct Still {
        std::vector<std::uint8_t> bytes;
        double time = 0;
    };

    void Loop();

    const media::Pin* m_pin = nullptr;
    // Written by Start before the thread runs; read by the thread only.
    media::MediaType m_type;
    std::thread m_thread;
    // Protects m_queue, m_running, m_stopping and m_delivered; m_wake signals their changes.
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Still> m_queue;
    bool m_running = false;
    bool m_stopping = false;
    int m_delivered = 0;
};

}  // namespace zv::v4l2
