#pragma once

#include "platform/status.h"
#include "platform/v4l2/v4l2_format.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zv::v4l2 {

class V4l2Io;

// One stream of an open node with memory-mapped buffers: set the format, request, map and queue
// the buffers, stream on; take filled buffers and give them back; stream off and free the
// buffers. Failures map as StreamStatus says: kSharingViolation when another program holds the
// device, 0x8007001C (ENOSPC) when the USB bus has no bandwidth left for it.
// Not thread-safe: the GUI thread starts the first stream, then only the streaming thread uses it
// until the GUI thread has joined that thread.
class V4l2Stream {
public:
    // Buffers requested from the driver.
    static constexpr std::uint32_t kBufferCount = 4;

    struct Frame {
        std::uint32_t index = 0;
        const std::uint8_t* data = nullptr;
        std::size_t bytesUsed = 0;
        // The driver flagged the buffer as damaged.
        bool error = false;
    };

    V4l2Stream(V4l2Io& io, int fd);
    ~V4l2Stream();
    V4l2Stream(const V4l2Stream&) = delete;
    V4l2Stream& operator=(const V4l2Stream&) = delete;

    // Sets `format` (and its frame interval, where the driver takes one) and starts streaming.
    // On failure nothing is left allocated.
    Status Start(const V4l2Format& format);
    // Streams off and frees the buffers; safe when not started, and on an unplugged device.
    void Stop();

    // A filled buffer: kOk with `frame`, kFalse when none is ready, a failure when the stream is
    // broken (devices::kDeviceNotConnected once the device is gone).
    Status Dequeue(Frame* frame);
    // Gives a buffer back to the driver.
    Status Requeue(std::uint32_t index);

private:
    struct Buffer {
        void* address = nullptr;
        std::size_t length = 0;
    };

    Status SetFormat(const V4l2Format& format);
    Status Allocate();
    void Free();

    V4l2Io& m_io;
    const int m_fd;
    std::vector<Buffer> m_buffers;
    bool m_streaming = false;
};

}  // namespace zv::v4l2
