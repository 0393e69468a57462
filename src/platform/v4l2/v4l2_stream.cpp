#include "platform/v4l2/v4l2_stream.h"

#include "platform/v4l2/v4l2_io.h"
#include "platform/v4l2/v4l2_status.h"

#include <cerrno>
#include <linux/videodev2.h>

namespace zv::v4l2 {

V4l2Stream::V4l2Stream(V4l2Io& io, int fd) : m_io(io), m_fd(fd) {}

V4l2Stream::~V4l2Stream() {
    Stop();
}

Status V4l2Stream::SetFormat(const V4l2Format& format) {
    v4l2_format request{};
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.fmt.pix.pixelformat = format.pixelFormat;
    request.fmt.pix.width = format.width;
    request.fmt.pix.height = format.height;
    request.fmt.pix.field = V4L2_FIELD_ANY;
    if (const int error = m_io.Ioctl(m_fd, VIDIOC_S_FMT, &request); error != 0) {
        return StreamStatus(error);
    }
    // The driver picks the nearest format it has; anything else than the one asked for would
    // deliver frames of another size than the pin announced.
    if (request.fmt.pix.pixelformat != format.pixelFormat ||
        request.fmt.pix.width != format.width || request.fmt.pix.height != format.height) {
        return kInvalidArg;
    }
    if (format.intervalNumerator > 0 && format.intervalDenominator > 0) {
        v4l2_streamparm parameters{};
        parameters.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        parameters.parm.capture.timeperframe.numerator = format.intervalNumerator;
        parameters.parm.capture.timeperframe.denominator = format.intervalDenominator;
        // A driver without frame interval control streams at its own rate; not a failure.
        m_io.Ioctl(m_fd, VIDIOC_S_PARM, &parameters);
    }
    return kOk;
}

Status V4l2Stream::Allocate() {
    v4l2_requestbuffers request{};
    request.count = kBufferCount;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    if (const int error = m_io.Ioctl(m_fd, VIDIOC_REQBUFS, &request); error != 0) {
        return StreamStatus(error);
    }
    if (request.count == 0) {
        return StatusFromErrno(ENOMEM);
    }
    m_buffers.resize(request.count);
    for (std::uint32_t index = 0; index < request.count; ++index) {
        v4l2_buffer buffer{};
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        buffer.index = index;
        if (const int error = m_io.Ioctl(m_fd, VIDIOC_QUERYBUF, &buffer); error != 0) {
            return StreamStatus(error);
        }
        int error = 0;
        void* address = m_io.Map(m_fd, buffer.length, buffer.m.offset, &error);
        if (address == nullptr) {
            return StreamStatus(error);
        }
        m_buffers[index] = Buffer{address, buffer.length};
        if (const Status status = Requeue(index); Failed(status)) {
            return status;
        }
    }
    return kOk;
}

void V4l2Stream::Free() {
    for (Buffer& buffer : m_buffers) {
        m_io.Unmap(buffer.address, buffer.length);
    }
    const bool allocated = !m_buffers.empty();
    m_buffers.clear();
    if (allocated) {
        v4l2_requestbuffers release{};
        release.count = 0;
        release.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        release.memory = V4L2_MEMORY_MMAP;
        m_io.Ioctl(m_fd, VIDIOC_REQBUFS, &release);
    }
}

Status V4l2Stream::Start(const V4l2Format& format) {
    Stop();
    Status status = SetFormat(format);
    if (Succeeded(status)) {
        status = Allocate();
    }
    if (Succeeded(status)) {
        int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        status = StreamStatus(m_io.Ioctl(m_fd, VIDIOC_STREAMON, &type));
    }
    if (Failed(status)) {
        Free();
        return status;
    }
    m_streaming = true;
    return kOk;
}

void V4l2Stream::Stop() {
    if (m_streaming) {
        int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        m_io.Ioctl(m_fd, VIDIOC_STREAMOFF, &type);
        m_streaming = false;
    }
    Free();
}

Status V4l2Stream::Dequeue(Frame* frame) {
    v4l2_buffer buffer{};
    buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buffer.memory = V4L2_MEMORY_MMAP;
    const int error = m_io.Ioctl(m_fd, VIDIOC_DQBUF, &buffer);
    if (error == EAGAIN) {
        return kFalse;
    }
    if (error != 0) {
        return StreamStatus(error);
    }
    if (buffer.index >= m_buffers.size()) {
        return kUnexpected;
    }
    const Buffer& mapped = m_buffers[buffer.index];
    frame->index = buffer.index;
    frame->data = static_cast<const std::uint8_t*>(mapped.address);
    frame->bytesUsed = buffer.bytesused <= mapped.length ? buffer.bytesused : mapped.length;
    frame->error = (buffer.flags & V4L2_BUF_FLAG_ERROR) != 0;
    return kOk;
}

Status V4l2Stream::Requeue(std::uint32_t index) {
    v4l2_buffer buffer{};
    buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buffer.memory = V4L2_MEMORY_MMAP;
    buffer.index = index;
    return StreamStatus(m_io.Ioctl(m_fd, VIDIOC_QBUF, &buffer));
}

}  // namespace zv::v4l2
