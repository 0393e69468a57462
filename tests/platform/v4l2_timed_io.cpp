#include "platform/v4l2_timed_io.h"

#include <linux/videodev2.h>
#include <optional>
#include <utility>

namespace zv::test {
namespace {

// What a successful ioctl tells the timeline; nothing for the calls it does not follow.
std::optional<TimedCall> Describe(unsigned long request, const void* argument) {
    TimedCall call;
    switch (request) {
        case VIDIOC_S_FMT: {
            const auto* format = static_cast<const v4l2_format*>(argument);
            call.call = StreamCall::kSetFormat;
            call.width = format->fmt.pix.width;
            call.height = format->fmt.pix.height;
            return call;
        }
        case VIDIOC_REQBUFS:
            call.call = StreamCall::kRequestBuffers;
            call.index = static_cast<const v4l2_requestbuffers*>(argument)->count;
            return call;
        case VIDIOC_STREAMON:
            call.call = StreamCall::kStreamOn;
            return call;
        case VIDIOC_STREAMOFF:
            call.call = StreamCall::kStreamOff;
            return call;
        case VIDIOC_DQBUF:
        case VIDIOC_QBUF: {
            const auto* buffer = static_cast<const v4l2_buffer*>(argument);
            call.call = request == VIDIOC_DQBUF ? StreamCall::kDequeue : StreamCall::kQueue;
            call.index = buffer->index;
            call.damaged = (buffer->flags & V4L2_BUF_FLAG_ERROR) != 0;
            return call;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

V4l2TimedIo::V4l2TimedIo(std::shared_ptr<v4l2::V4l2Io> inner) : m_inner(std::move(inner)) {}

int V4l2TimedIo::Ioctl(int fd, unsigned long request, void* argument) {
    const Clock::time_point begin = Clock::now();
    const int error = m_inner->Ioctl(fd, request, argument);
    const Clock::time_point end = Clock::now();
    if (error != 0) {
        return error;
    }
    if (std::optional<TimedCall> call = Describe(request, argument)) {
        call->begin = begin;
        call->end = end;
        Record(*call);
    }
    return 0;
}

void* V4l2TimedIo::Map(int fd, std::size_t length, std::int64_t offset, int* error) {
    TimedCall call;
    call.call = StreamCall::kMap;
    call.begin = Clock::now();
    void* address = m_inner->Map(fd, length, offset, error);
    call.end = Clock::now();
    if (address != nullptr) {
        Record(call);
    }
    return address;
}

void V4l2TimedIo::Record(const TimedCall& call) {
    std::lock_guard lock(m_mutex);
    m_calls.push_back(call);
}

std::vector<TimedCall> V4l2TimedIo::Calls() const {
    std::lock_guard lock(m_mutex);
    return m_calls;
}

}  // namespace zv::test
