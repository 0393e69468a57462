#include "platform/v4l2/v4l2_still_delivery.h"

#include "platform/media/media_sample.h"
#include "platform/media/pin.h"

#include <limits>
#include <utility>

namespace zv::v4l2 {

V4l2StillDelivery::~V4l2StillDelivery() {
    Stop();
}

void V4l2StillDelivery::Start(media::MediaType type) {
    Stop();
    if (m_pin == nullptr) {
        return;
    }
    m_type = std::move(type);
    {
        std::lock_guard lock(m_mutex);
        m_running = true;
        m_stopping = false;
    }
    m_thread = std::thread(&V4l2StillDelivery::Loop, this);
}

void V4l2StillDelivery::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    std::lock_guard lock(m_mutex);
    m_running = false;
    m_queue.clear();
}

void V4l2StillDelivery::Push(std::vector<std::uint8_t> bytes, double time) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_running || m_stopping) {
            return;
        }
        m_queue.push_back(Still{std::move(bytes), time});
    }
    m_wake.notify_all();
}

int V4l2StillDelivery::Delivered() const {
    std::lock_guard lock(m_mutex);
    return m_delivered;
}

void V4l2StillDelivery::Loop() {
    while (true) {
        Still still;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_queue.empty()) {
                return;  // stopping, and everything queued went out
            }
            still = std::move(m_queue.front());
            m_queue.pop_front();
        }
        if (still.bytes.size() <=
            static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
            const media::MediaSample sample(still.bytes.data(),
                                            static_cast<std::int32_t>(still.bytes.size()),
                                            still.time, m_type);
            // A still the downstream refuses shows as no frame within the time-out.
            IgnoreStatus(m_pin->Deliver(sample));
        }
        std::lock_guard lock(m_mutex);
        ++m_delivered;
    }
}

}  // namespace zv::v4l2
