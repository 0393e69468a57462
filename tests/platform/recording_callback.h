#pragma once

#include "platform/media/media_sample.h"
#include "platform/media/sample_grabber_callback.h"

#include <QByteArray>

#include <atomic>
#include <mutex>
#include <vector>

namespace zv::test {

// A sample grabber callback that copies every sample it is shown (the bytes are only lent for
// the call) and notes whether a call is running, so tests can check that none runs after a stop.
class RecordingCallback : public media::SampleGrabberCallback {
public:
    Status SampleCB(double /*time*/, const media::MediaSample& sample) override {
        Record(sample.Data(), sample.Length(), true);
        return kOk;
    }
    Status BufferCB(double /*time*/, const std::uint8_t* buffer, std::int32_t length) override {
        Record(buffer, length, false);
        return kFail;  // the grabber must not care
    }

    int Count() const {
        std::lock_guard lock(m_mutex);
        return static_cast<int>(m_samples.size());
    }
    QByteArray Sample(int index) const {
        std::lock_guard lock(m_mutex);
        return m_samples.at(static_cast<std::size_t>(index));
    }
    int SampleCalls() const { return m_sampleCalls.load(); }
    bool InCall() const { return m_inCall.load(); }

private:
    void Record(const std::uint8_t* data, std::int32_t length, bool sampleCall) {
        m_inCall.store(true);
        if (sampleCall) {
            m_sampleCalls.fetch_add(1);
        }
        QByteArray copy(reinterpret_cast<const char*>(data), length);
        {
            std::lock_guard lock(m_mutex);
            m_samples.push_back(std::move(copy));
        }
        m_inCall.store(false);
    }

    // Protects m_samples.
    mutable std::mutex m_mutex;
    std::vector<QByteArray> m_samples;
    std::atomic<int> m_sampleCalls{0};
    std::atomic<bool> m_inCall{false};
};

}  // namespace zv::test
