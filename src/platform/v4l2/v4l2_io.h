#pragma once

#include <cstddef>
#include <cstdint>
#include <poll.h>
#include <string>
#include <vector>

namespace zv::v4l2 {

// Every system call of the real-device backend goes through this one object: opening and closing
// device nodes, their ioctls, mapping their buffers, waiting on them, and reading the sysfs files
// that describe them. The system implementation (SystemV4l2Io) forwards to the kernel; tests
// drive the same backend logic with a scripted device.
// Implementations are thread-safe: the GUI thread (device control) and the streaming thread of a
// running filter call it at the same time, on the same descriptor.
class V4l2Io {
public:
    virtual ~V4l2Io() = default;

    // Opens a device node for reading and writing, non-blocking, close-on-exec. The descriptor,
    // or -errno.
    virtual int Open(const std::string& path) = 0;
    virtual void Close(int fd) = 0;
    // Lets go of the file behind `fd` but keeps the number taken (it then refers to nothing a
    // device call can use), so that whatever holds the number holds it still. 0 or errno.
    virtual int ReleaseDescriptor(int fd) = 0;
    // Makes `to` refer to the file `from` refers to, and closes `from`. 0 or errno.
    virtual int MoveDescriptor(int from, int to) = 0;
    // 0, or the errno of the failed ioctl (interrupted calls are repeated).
    virtual int Ioctl(int fd, unsigned long request, void* argument) = 0;
    // Maps `length` bytes of a buffer shared with the driver; null with `error` set on failure.
    virtual void* Map(int fd, std::size_t length, std::int64_t offset, int* error) = 0;
    virtual void Unmap(void* address, std::size_t length) = 0;
    // poll(2): the number of descriptors with events, 0 on time-out, or -errno. Without
    // descriptors it waits out the time-out.
    virtual int Poll(pollfd* fds, std::size_t count, int timeoutMs) = 0;

    // A descriptor that a poll can wait on and another thread can make readable: the stop and
    // trigger signal of a streaming thread. CreateWakeup answers the descriptor or -errno;
    // SignalWakeup makes it readable, DrainWakeup readable no more.
    virtual int CreateWakeup() = 0;
    virtual void SignalWakeup(int fd) = 0;
    virtual void DrainWakeup(int fd) = 0;

    // The whole content of a file (a sysfs attribute); 0 or errno.
    virtual int ReadFile(const std::string& path, std::vector<std::uint8_t>* bytes) = 0;
    // 0 when the path exists, otherwise errno.
    virtual int Exists(const std::string& path) = 0;
};

}  // namespace zv::v4l2
