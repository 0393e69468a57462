#pragma once

#include "platform/v4l2/v4l2_io.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace zv::test {

using Clock = std::chrono::steady_clock;

// The stream calls a timeline is made of (kMap: a buffer mapped into the process).
enum class StreamCall {
    kSetFormat,
    kRequestBuffers,
    kMap,
    kStreamOn,
    kStreamOff,
    kDequeue,
    kQueue
};

// One stream call that succeeded, with when it began and returned.
struct TimedCall {
    StreamCall call = StreamCall::kQueue;
    Clock::time_point begin;
    Clock::time_point end;
    // kSetFormat: the frame size set.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // kDequeue and kQueue: the buffer; kDequeue also whether the driver flagged it damaged.
    // kRequestBuffers: how many buffers were asked for (0 frees them).
    std::uint32_t index = 0;
    bool damaged = false;
};

// The device system's calls, forwarded to `inner`; the stream calls that succeed (format set,
// buffers requested and mapped, stream on and off, buffers taken and given back) are recorded with
// the steady clock, so that a timeline of the device stream is read from outside the backend. Any
// thread, as V4l2Io: the GUI thread and the streaming threads call it at once.
class V4l2TimedIo : public v4l2::V4l2Io {
public:
    explicit V4l2TimedIo(std::shared_ptr<v4l2::V4l2Io> inner);

    int Open(const std::string& path) override { return m_inner->Open(path); }
    void Close(int fd) override { m_inner->Close(fd); }
    int ReleaseDescriptor(int fd) override { return m_inner->ReleaseDescriptor(fd); }
    int MoveDescriptor(int from, int to) override { return m_inner->MoveDescriptor(from, to); }
    int Ioctl(int fd, unsigned long request, void* argument) override;
    void* Map(int fd, std::size_t length, std::int64_t offset, int* error) override;
    void Unmap(void* address, std::size_t length) override { m_inner->Unmap(address, length); }
    int Poll(pollfd* fds, std::size_t count, int timeoutMs) override {
        return m_inner->Poll(fds, count, timeoutMs);
    }
    int CreateWakeup() override { return m_inner->CreateWakeup(); }
    void SignalWakeup(int fd) override { m_inner->SignalWakeup(fd); }
    void DrainWakeup(int fd) override { m_inner->DrainWakeup(fd); }
    int ReadFile(const std::string& path, std::vector<std::uint8_t>* bytes) override {
        return m_inner->ReadFile(path, bytes);
    }
    int Exists(const std::string& path) override { return m_inner->Exists(path); }

    // The calls recorded so far, in the order they returned.
    std::vector<TimedCall> Calls() const;

private:
    void Record(const TimedCall& call);

    const std::shared_ptr<v4l2::V4l2Io> m_inner;
    // Protects m_calls.
    mutable std::mutex m_mutex;
    std::vector<TimedCall> m_calls;
};

}  // namespace zv::test
