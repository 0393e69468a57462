#pragma once

#include "platform/v4l2/v4l2_io.h"

namespace zv::v4l2 {

// The kernel's device nodes, ioctls, mappings and sysfs files. Stateless, so any thread.
class SystemV4l2Io : public V4l2Io {
public:
    int Open(const std::string& path) override;
    void Close(int fd) override;
    int ReleaseDescriptor(int fd) override;
    int MoveDescriptor(int from, int to) override;
    int Ioctl(int fd, unsigned long request, void* argument) override;
    void* Map(int fd, std::size_t length, std::int64_t offset, int* error) override;
    void Unmap(void* address, std::size_t length) override;
    int Poll(pollfd* fds, std::size_t count, int timeoutMs) override;
    int CreateWakeup() override;
    void SignalWakeup(int fd) override;
    void DrainWakeup(int fd) override;
    int ReadFile(const std::string& path, std::vector<std::uint8_t>* bytes) override;
    int Exists(const std::string& path) override;
};

}  // namespace zv::v4l2
